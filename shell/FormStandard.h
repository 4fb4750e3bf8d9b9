#pragma once
// The habit every visible window follows: on load it is translated, takes over the shared
// layout object and is sized to three quarters of the screen; on resize its controls are
// laid out again; on activation it fills the screen.
#include "forms/Form.h"

using forms::Default;

class FormStandard : public forms::Form {
public:
    using forms::Form::Form;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Activate() override;
};
