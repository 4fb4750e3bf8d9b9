#include "FormInfo.h"
#include "CommDlgs.h"
#include "FormMenu.h"
#include "modLanguageSupport.h"
#include "platform/Paths.h"

using namespace forms;

FormInfo::FormInfo() : FormStandard(QStringLiteral("FormInfo"))
{
    setCaption(QStringLiteral("Form1"));
    setBackColor(0x00FFF4E6);
    setClientSize(9600, 7200);
}

void FormInfo::layout(Layout &l)
{
    l.add(Kind::Image, "Image1").at(480, 480, 2400, 2400).pic(":/pictures/logo_info.svg").pointer(vbCustom);
    l.add(Kind::Label, "Label1").at(3240, 480, 5880, 2160).withFont("Arial", 16, true).transparent();
    l.add(Kind::Label, "Label3").at(480, 3240, 8640, 1200).withFont("Arial", 12).transparent();
    l.add(Kind::Label, "Label4").at(480, 4560, 8640, 1440).withFont("Arial", 12).transparent();
    l.add(Kind::CommandButton, "Command1").at(3600, 6240, 2400, 660).cap("Chiudi").withFont("Arial", 16, true).pointer(vbCustom);
}

void FormInfo::Form_Load()
{
    FormStandard::Form_Load();
    Command1->Click = [this] { Command1_Click(); };
    Image1->Click = [this] { Image1_Click(); };
}

void FormInfo::Form_Activate()
{
    FormStandard::Form_Activate();
    const QString br = QStringLiteral("\r\n");
    Label1->setCaption(QStringLiteral("Software di") + br + QStringLiteral("Tesmo") + br
                       + QStringLiteral("programmi educativi per la scuola") + br
                       + QStringLiteral("Brivomarte, versione 1.0") + br);
    Label3->setCaption(QStringLiteral("Uso libero e gratuito nelle scuole e nelle famiglie, citando gli autori.") + br
                       + QStringLiteral("Il programma è fornito così com'è, senza alcuna garanzia."));
    QString righe;
    for (const char *id : {"9996", "9997", "9998", "9999"}) {
        const QString t = MLSGetString(QLatin1String(id));
        if (!t.isEmpty()) righe += t + br;
    }
    Label4->setCaption(righe);
}

void FormInfo::Command1_Click()
{
    Default<FormMenu>().Show();
    Unload();
}

void FormInfo::Image1_Click()
{
    ApriDocumento(this, platform::programFolder() + QStringLiteral("\\documento.pdf"));
}
