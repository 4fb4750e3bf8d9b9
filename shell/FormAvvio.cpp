#include "FormAvvio.h"
#include "FormMenu.h"
#include "ModuloColoriSuoni.h"

using namespace forms;

FormAvvio::FormAvvio() : FormStandard(QStringLiteral("FormAvvio"))
{
    setCaption(QStringLiteral("Brivomarte"));
    setClientSize(9600, 7200);
}

void FormAvvio::layout(Layout &l)
{
    l.add(Kind::Image, "Image1").at(3307, 480, 2985, 2925).pic(":/pictures/avvio.svg");
    l.add(Kind::Label, "Label2", 0).at(0, 3540, 9600, 1080).cap("Brivomarte").withFont("Arial", 40, true).align(2).transparent();
    l.add(Kind::Label, "Label2", 1).at(0, 4620, 9600, 600).cap("Esercitazioni matematiche").withFont("Arial", 20).align(2).transparent();
    l.add(Kind::CommandButton, "Command1").at(3480, 5460, 2640, 840).cap("Avvio").withFont("Arial", 20, true);
    l.add(Kind::Label, "Label2", 2).at(0, 6600, 9600, 360).cap("24/03/2005").withFont("Arial", 10).align(2).transparent();
}

void FormAvvio::Form_Load()
{
    FormStandard::Form_Load();
    // A new colour on every start, whatever the user's colour setting.
    setBackColor(GeneraColoreCasuale());
    Command1->Click = [this] { Command1_Click(); };
}

void FormAvvio::Command1_Click()
{
    Default<FormMenu>().Show();
    Unload();
}
