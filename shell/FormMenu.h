#pragma once
// The main menu: the users, the five exercises and the exit, the menu bar with the
// configuration, the activity record, the documents, the information window and the
// languages; worked by mouse or by switch scanning.
#include "FormStandard.h"
#include "MotoreScansione.h"
#include "PannelloUscita.h"

class FormMenu : public FormStandard {
public:
    FormMenu();

    forms::Ctl Combo1{this, "Combo1"};
    forms::CtlArray Command1{this, "Command1"};
    forms::CtlArray Image1{this, "Image1"};
    forms::Ctl LabelDimensionaFont{this, "LabelDimensionaFont"};
    forms::Ctl ShapeRiquadro{this, "ShapeRiquadro"};
    forms::Ctl Timer1{this, "Timer1"};
    forms::Ctl PictureScansioneAutomatica{this, "PictureScansioneAutomatica"};
    forms::Ctl PictureScansioneManuale{this, "PictureScansioneManuale"};
    forms::Ctl mnuEserciziEseguiti{this, "mnuEserciziEseguiti"};
    forms::CtlArray mnuLanguage{this, "mnuLanguage"};

    static constexpr int kNumeroBottoni = 6;

    void AvviaEsercizi(int Scelta);
    void ImpostaUtente();
    void RecuperaUtenti();
    void Combo1_Click();
    void Command1_Click(int Index);
    void Command1_MouseMove(int Index);
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void MLSFillMenuLanguages();
    void mnuLanguage_Click(int Index);
    void PresentaFinestraUscita() { uscita.PresentaFinestraUscita(); }

    MotoreScansione scansione{this, "Timer1", "PictureScansioneManuale", "PictureScansioneAutomatica"};
    PannelloUscita uscita{this, "FrameUscita"};
    int PosizioneScansione() const { return scansione.posizione; }

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void UscitaImmediata();
    // The entry of the list that names the current user, or -1.
    int VoceUtenteCorrente() const;

    QStringList utenti_;       // the users' names as their files spell them, one per entry
    bool ripristino_ = false;  // the list being filled or put back: no switch
};
