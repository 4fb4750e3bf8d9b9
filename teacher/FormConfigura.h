#pragma once
// The teacher's window for the current user's settings, on five tabs: the user (switching
// to the default user, to an existing one or to a new one), the representations and the
// highest number, the colours, the sounds, the input mode and its scanning options. Every
// control mirrors one shared setting and writes it back at once, in memory; the profile
// reaches the disk when the window is left and before every change of user. Two previews
// show the quantity nine in the chosen representations and colours.
#include "FormStandard.h"
#include "ModuloPerIni.h"

class FormConfigura : public FormStandard {
public:
    FormConfigura();

    forms::Ctl Label4{this, "Label4"};
    forms::Ctl TabStrip1{this, "TabStrip1"};
    forms::Ctl FrameUtente{this, "FrameUtente"};
    forms::Ctl FrameScelte{this, "FrameScelte"};
    forms::Ctl FrameFonts{this, "FrameFonts"};
    forms::Ctl FrameVoce{this, "FrameVoce"};
    forms::Ctl FramePunt{this, "FramePunt"};

    // The user tab.
    forms::CtlArray OptionUtente{this, "OptionUtente"};
    forms::Ctl ListModificaUtente{this, "ListModificaUtente"};
    forms::Ctl TextNuovoUtente{this, "TextNuovoUtente"};
    forms::Ctl CheckSalvaUtente{this, "CheckSalvaUtente"};

    // The representations, the highest number and the letter case.
    forms::Ctl CheckDisabilitaControlloAlunno{this, "CheckDisabilitaControlloAlunno"};
    forms::Ctl FramePrimo{this, "FramePrimo"};
    forms::CtlArray OptionDis1{this, "OptionDis1"};
    forms::Ctl FramePrimaImmagine{this, "FramePrimaImmagine"};
    forms::Ctl LabelPrimoNumero{this, "LabelPrimoNumero"};
    forms::CtlArray Shape1{this, "Shape1"};
    forms::Ctl Linea1{this, "Linea1"};
    forms::Ctl Image1{this, "Image1"};
    forms::Ctl FrameSecondo{this, "FrameSecondo"};
    forms::CtlArray OptionDis2{this, "OptionDis2"};
    forms::Ctl FrameSecondaImmagine{this, "FrameSecondaImmagine"};
    forms::Ctl LabelSecondoNumero{this, "LabelSecondoNumero"};
    forms::CtlArray Shape2{this, "Shape2"};
    forms::Ctl Linea2{this, "Linea2"};
    forms::Ctl Image2{this, "Image2"};
    forms::Ctl HScroll4{this, "HScroll4"};
    forms::Ctl LabelNumeroMassimo{this, "LabelNumeroMassimo"};
    forms::Ctl Frame1{this, "Frame1"};
    forms::Ctl maiuscolo{this, "maiuscolo"};
    forms::Ctl minuscolo{this, "minuscolo"};

    // The colours.
    forms::Ctl Frame5{this, "Frame5"};
    forms::Ctl LabelFontSelezionato1{this, "LabelFontSelezionato1"};
    forms::Ctl CommandSceltaSfondoTesto1{this, "CommandSceltaSfondoTesto1"};
    forms::Ctl CommandSceltaColoreFont1{this, "CommandSceltaColoreFont1"};
    forms::Ctl Frame2{this, "Frame2"};
    forms::Ctl LabelFontSelezionato2{this, "LabelFontSelezionato2"};
    forms::Ctl CommandSceltaSfondoTesto2{this, "CommandSceltaSfondoTesto2"};
    forms::Ctl CommandSceltaColoreFont2{this, "CommandSceltaColoreFont2"};
    forms::Ctl Frame6{this, "Frame6"};
    forms::CtlArray OptionColoreCasualeFisso{this, "OptionColoreCasualeFisso"};
    forms::Ctl CommandSceltaColori{this, "CommandSceltaColori"};
    forms::Ctl CommandSceltaColoreBottoni{this, "CommandSceltaColoreBottoni"};
    forms::Ctl LabelPerColore{this, "LabelPerColore"};

    // The sounds.
    forms::Ctl CheckSuoni{this, "CheckSuoni"};

    // The input mode.
    forms::CtlArray Option4{this, "Option4"};
    forms::Ctl CheckDisabilitaMousePersonalizzato{this, "CheckDisabilitaMousePersonalizzato"};
    forms::Ctl HScroll3{this, "HScroll3"};
    forms::Ctl Label7{this, "Label7"};
    forms::Ctl CommandSceltaColoreBottoniSelezionati{this, "CommandSceltaColoreBottoniSelezionati"};
    forms::Ctl CheckRiquadro{this, "CheckRiquadro"};
    forms::Ctl ShapeRiquadro{this, "ShapeRiquadro"};
    forms::Ctl HScrollRiquadro{this, "HScrollRiquadro"};
    forms::Ctl CheckRiparti{this, "CheckRiparti"};

    forms::Ctl LabelDimensionaFont{this, "LabelDimensionaFont"};
    // Hidden carrier of the message for a refused name, so that the language file translates it.
    forms::Ctl LabelNomeNonValido{this, "LabelNomeNonValido"};
    forms::Ctl LabelAvvisoNome{this, "LabelAvvisoNome"};

    void ImpostaConfigurazioni();
    void NascondiFrame();
    void ImpostaDisegni();
    void Dimensiona();
    QString TestoVelocita() const;

    void TabStrip1_Click();
    void mnuEsci_Click();
    void OptionUtente_Click(int Index);
    void ListModificaUtente_Click();
    void TextNuovoUtente_Change();
    void CheckRiquadro_Click();
    void HScroll4_Change();
    void HScrollRiquadro_Change();
    void HScroll3_Change();
    void OptionDis1_Click(int Index);
    void OptionDis2_Click(int Index);
    void OptionColoreCasualeFisso_Click(int Index);
    void Option4_Click(int Index);

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void RecuperaUtenti();
    // The colour dialog for one setting: true when a colour was chosen and stored.
    bool SceltaColore(forms::Control *bersaglio, double &impostazione);
    // A setting that a scroll bar edits is kept within the bar's range.
    static int NelRange(const forms::Control *barra, int valore);
    // Undoes the selection of a user option or list entry whose action could not start.
    void RipristinaSceltaUtente();

    // Writes the current user's profile (see the waiting new user below).
    bool ScriviUtenteCorrente();
    // Why a name typed for a new user cannot be taken; empty when it can.
    QString MotivoNomeRifiutato(const QString &nome) const;

    QStringList utenti_;         // the listed users as their files spell them, one per entry
    // "Nuovo utente" waits for a good name: the user before it is current meanwhile.
    bool nuovoInSospeso_ = false;
    QString nomePrima_, filePrima_;
    bool tieniTracciaPrima_ = false;
    int opzioneUtente_ = 0;      // the user option whose action ran last
    int voceUtente_ = -1;        // the list entry of the current user, when picked there
    QString nomeAccettato_;      // the new name's text as last accepted
    UtentiEsistenti esistenti_;  // the users a new name is checked against at every key
    bool ripristino_ = false;    // a selection being put back: its handler does nothing
};
