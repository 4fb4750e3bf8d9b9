#pragma once
#include "FormStandard.h"

class FormMenu : public FormStandard {
public:
    FormMenu();
};
