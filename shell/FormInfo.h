#pragma once
// The information window: who made the program, its terms of use, a few lines of the
// language file, and the logo that opens the document about the program.
#include "FormStandard.h"

class FormInfo : public FormStandard {
public:
    FormInfo();
    forms::Ctl Command1{this, "Command1"};
    forms::Ctl Image1{this, "Image1"};
    forms::Ctl Label1{this, "Label1"};
    forms::Ctl Label3{this, "Label3"};
    forms::Ctl Label4{this, "Label4"};

    void Command1_Click();
    void Image1_Click();

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;
};
