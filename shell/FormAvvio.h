#pragma once
// The start window: greets the user and leads to the main menu.
#include "FormStandard.h"

class FormAvvio : public FormStandard {
public:
    FormAvvio();

    forms::Ctl Command1{this, "Command1"};
    forms::Ctl Image1{this, "Image1"};
    forms::CtlArray Label2{this, "Label2"};

    void Command1_Click();

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
};
