#pragma once
// The choice screen before exercises 1, 3, 4 and 5: how the quantities will be pictured.
#include "SceltaDidattica.h"

class FormScelteDidattiche1 : public SceltaDidattica {
public:
    FormScelteDidattiche1();
    forms::CtlArray OptionDis1{this, "OptionDis1"};
    forms::CtlArray PictureBoxImmagine{this, "PictureBoxImmagine"};
    void AvviaEsercizi();

protected:
    void layout(forms::Layout &l) override;
    void Form_Activate() override;
    void Conferma() override { AvviaEsercizi(); }
    bool ConfermaSoloConMouse() const override { return false; }
};
