#pragma once
// The choice screen before exercise 2: how the upper and the lower pictures will look.
#include "SceltaDidattica.h"

class FormScelteDidattiche2 : public SceltaDidattica {
public:
    FormScelteDidattiche2();
    forms::CtlArray OptionDis1{this, "OptionDis1"};
    forms::CtlArray OptionDis2{this, "OptionDis2"};
    forms::Ctl PictureBox1{this, "PictureBox1"};

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;
    void Conferma() override;
    bool ConfermaSoloConMouse() const override { return true; }
};
