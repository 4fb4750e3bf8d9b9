#include "FormStandard.h"
#include "Modulo1.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"

void FormStandard::Form_Load()
{
    MLSTranslateForm(this);
    // The translation lets events through: the window may have been left meanwhile.
    if (!isLoaded()) return;
    Ridimensionatore = std::make_unique<clsResize>();
    Ridimensionatore->setSourceForm(this);
    Ridimensionatore->SizeFormToScreen(75);
}

void FormStandard::Form_Resize()
{
    if (Ridimensionatore) Ridimensionatore->ResizeControls();
}

void FormStandard::Form_Activate()
{
    setTop(0);
    setLeft(0);
    setHeight(forms::Screen::Height());
    setWidth(forms::Screen::Width());
}
