#include "FormArchivio.h"
#include "modLanguageSupport.h"

using namespace forms;

FormArchivio::FormArchivio() : Form(QStringLiteral("FormArchivio"))
{
    setClientSize(7500, 4500);
}

void FormArchivio::layout(Layout &l)
{
    for (int k = 0; k <= 11; ++k)
        l.add(Kind::Image, "ImageArchivio", k)
            .at((k % 4) * 1875, (k / 4) * 1125, 1875, 1125)
            .pic(QStringLiteral(":/pictures/mano_%1.svg").arg(k, 2, 10, QLatin1Char('0')));
}

void FormArchivio::Form_Load()
{
    MLSTranslateForm(this);
}
