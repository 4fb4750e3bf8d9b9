#include "PannelloUscita.h"
#include "AdattaCarattere.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "forms/Form.h"
#include "forms/Twips.h"
#include "platform/PointerConfine.h"
#include <cmath>

using namespace forms;

void AggiungiPannelloUscita(Layout &l, const char *contenitore, Kind tipoContenitore)
{
    const QString h = QLatin1String(contenitore);
    l.add(tipoContenitore, h).at(0, 0, 5655, 2775).hidden().border(tipoContenitore == Kind::Frame ? 1 : 0);
    l.add(Kind::CommandButton, "CommandNo").in(h).at(240, 840, 2415, 1095).pointer(vbCustom).back(kColoreRiposo);
    l.add(Kind::CommandButton, "CommandSi").in(h).at(3000, 840, 2415, 1095).pointer(vbCustom).back(kColoreRiposo);
    l.add(Kind::PictureBox, "PictureNo").in(h).at(360, 960, 2175, 855).border(0).pointer(vbCustom).back(kColoreRiposo);
    l.add(Kind::PictureBox, "PictureSi").in(h).at(3120, 960, 2175, 855).border(0).pointer(vbCustom).back(kColoreRiposo);
    l.add(Kind::Image, "ImageNo").in("PictureNo").at(0, 0, 735, 735).pic(":/pictures/foca_palla.svg").pointer(vbCustom);
    l.add(Kind::Image, "ImageSi").in("PictureSi").at(0, 120, 615, 735).pic(":/pictures/anatroccolo_zaino.svg").pointer(vbCustom);
    l.add(Kind::Label, "LabelNo").in("PictureNo").at(720, 120, 1335, 615).withFont("Arial", 12).align(2).transparent().pointer(vbCustom);
    l.add(Kind::Label, "LabelSi").in("PictureSi").at(720, 120, 1335, 495).withFont("Arial", 12).align(2).transparent().pointer(vbCustom);
}

PannelloUscita::PannelloUscita(Form *finestra, const char *contenitore) : finestra_(finestra), contenitore_(contenitore) {}

Control *PannelloUscita::c(const char *nome) const { return finestra_->control(QLatin1String(nome)); }

void PannelloUscita::collega(std::function<void()> si)
{
    si_ = std::move(si);
    auto clickSi = [this] { CommandSi_Click(); };
    auto clickNo = [this] { CommandNo_Click(); };
    auto moveSi = [this](int, int, double, double) { CommandSi_MouseMove(); };
    auto moveNo = [this](int, int, double, double) { CommandNo_MouseMove(); };
    // Each answer is a button with a picture and a word on it: one thing for the pupil.
    for (const char *n : {"CommandSi", "PictureSi", "ImageSi", "LabelSi"}) {
        c(n)->Click = clickSi;
        c(n)->MouseMove = moveSi;
        c(n)->actsWith(c("CommandSi"));
    }
    for (const char *n : {"CommandNo", "PictureNo", "ImageNo", "LabelNo"}) {
        c(n)->Click = clickNo;
        c(n)->MouseMove = moveNo;
        c(n)->actsWith(c("CommandNo"));
    }
    c(contenitore_)->MouseMove = [this](int, int, double, double) { Contenitore_MouseMove(); };
}

void PannelloUscita::PresentaFinestraUscita()
{
    Control *holder = c(contenitore_);
    Control *si = c("CommandSi"), *no = c("CommandNo");
    Control *labelSi = c("LabelSi"), *labelNo = c("LabelNo");

    holder->setTop(double(int(std::nearbyint(finestra_->Height() - holder->Height())) / 2));
    holder->setLeft(double(int(std::nearbyint(finestra_->Width() - holder->Width())) / 2));
    holder->setBackColor(finestra_->BackColor());
    holder->ZOrder(0);
    si->setBackColor(kColoreRiposo);
    no->setBackColor(kColoreRiposo);
    labelSi->setCaption(MLSGetString(QStringLiteral("0003")));
    labelNo->setCaption(MLSGetString(QStringLiteral("0002")));
    for (Control *l : {labelSi, labelNo}) {
        FontSpec f = l->Font();
        f.name = QStringLiteral("arial");
        l->setFont(f);
        if (TipoCarattere == QLatin1String("maiuscolo")) l->setCaption(l->Caption().toUpper());
    }
    if (DisabilitaMousePersonalizzato) {
        si->setMousePointer(vbDefault);
        no->setMousePointer(vbDefault);
    }
    for (const char *n : {"ImageSi", "LabelSi", "PictureSi"}) c(n)->setMousePointer(si->MousePointer());
    for (const char *n : {"ImageNo", "LabelNo", "PictureNo"}) c(n)->setMousePointer(no->MousePointer());
    BloccaMouse();

    RegolaAdattamento r;
    r.dimensioneIniziale = 12;
    r.testo = labelSi->Caption().size() > labelNo->Caption().size() ? labelSi->Caption() : labelNo->Caption();
    r.riferimento = labelSi;
    // Height too: a short word fitted by its width alone would be taller than the label
    // and lose its top or bottom.
    r.prova = ProvaAdattamento::AltezzaELarghezza;
    r.bersagli = {labelSi, labelNo};
    AdattaCarattere(finestra_->control(QStringLiteral("LabelDimensionaFont")), r);

    if (!holder->Visible()) tastieraPrima_ = finestra_->window()->focusWidget();
    holder->setVisible(true);
    c("PictureSi")->setBackColor(si->BackColor());
    c("PictureNo")->setBackColor(no->BackColor());
    si->SetFocus();
}

void PannelloUscita::evidenzia(Control *sopra, Control *altro)
{
    if (sopra->BackColor() == kColoreSopra) return;
    altro->setBackColor(kColoreRiposo);
    sopra->setBackColor(kColoreSopra);
    c("PictureNo")->setBackColor(c("CommandNo")->BackColor());
    c("PictureSi")->setBackColor(c("CommandSi")->BackColor());
}

void PannelloUscita::CommandSi_MouseMove() { evidenzia(c("CommandSi"), c("CommandNo")); }
void PannelloUscita::CommandNo_MouseMove() { evidenzia(c("CommandNo"), c("CommandSi")); }

void PannelloUscita::Contenitore_MouseMove()
{
    if (c("CommandSi")->BackColor() == kColoreRiposo && c("CommandNo")->BackColor() == kColoreRiposo) return;
    for (const char *n : {"CommandSi", "CommandNo", "PictureNo", "PictureSi"})
        if (c(n)->BackColor() != kColoreRiposo) c(n)->setBackColor(kColoreRiposo);
}

void PannelloUscita::CommandNo_Click()
{
    SbloccaMouse();
    c(contenitore_)->setVisible(false);
    // The window is left as it was: the keys go where they went, at once.
    if (tastieraPrima_ && tastieraPrima_->isVisible() && tastieraPrima_->isEnabled()) tastieraPrima_->setFocus(Qt::OtherFocusReason);
}

void PannelloUscita::CommandSi_Click()
{
    SbloccaMouse();
    if (si_) si_();
}

void PannelloUscita::BloccaMouse()
{
    Control *holder = c(contenitore_);
    QWidget *w = holder->widget();
    if (!w) return;
    const QPoint topLeft = w->parentWidget() ? w->parentWidget()->mapToGlobal(w->geometry().topLeft()) : w->geometry().topLeft();
    platform::confinePointer(QRect(topLeft, w->size()), w->window()->windowHandle());
}

void PannelloUscita::SbloccaMouse() { platform::releasePointer(); }
