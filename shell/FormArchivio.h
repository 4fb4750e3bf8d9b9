#pragma once
// The picture archive: loaded hidden at start and never shown; it lends the hand pictures
// (0 to 10 fingers, and the grey hands for nine) to the drawing of quantities.
#include "forms/Form.h"

class FormArchivio : public forms::Form {
public:
    FormArchivio();
    forms::CtlArray ImageArchivio{this, "ImageArchivio"};

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
};
