#include "FormMenu.h"
FormMenu::FormMenu() : FormStandard(QStringLiteral("FormMenu")) {}
