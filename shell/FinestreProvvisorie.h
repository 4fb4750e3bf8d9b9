#pragma once
// Bare stand-ins for the windows the main menu opens that are not built yet: each shows
// only its title and an "Esci" item back to the main menu. Each is replaced by its real
// window as it comes.
#include "FormStandard.h"

void MostraMenuPrincipale();

template <class Nome>
class FinestraProvvisoria : public FormStandard {
public:
    FinestraProvvisoria() : FormStandard(QLatin1String(Nome::nome)) { Move(0, 0, 9600, 7200); setBackColor(0x00FFFFC0); }
    forms::Ctl Label1{this, "Label1"};

protected:
    void layout(forms::Layout &l) override
    {
        l.add(forms::Kind::Label, "Label1").at(480, 480, 8640, 1200).cap(QLatin1String(Nome::nome)).withFont("Arial", 20, true).transparent();
        l.add(forms::Kind::Menu, "mnuEsci").cap("Esci");
    }
    void Form_Load() override
    {
        FormStandard::Form_Load();
        control(QStringLiteral("mnuEsci"))->Click = [this] { MostraMenuPrincipale(); Unload(); };
    }
};

#define FINESTRA_PROVVISORIA(N) struct Nome##N { static constexpr const char *nome = #N; }; using N = FinestraProvvisoria<Nome##N>;
FINESTRA_PROVVISORIA(FormConfigura)
#undef FINESTRA_PROVVISORIA
