#pragma once
// The record of the exercises done, for the teacher: the record of this run as formatted
// text under the user's name and the date. The current configuration can be added to it,
// and it can be saved as a rich-text file in the user's folder, or printed.
#include "FormStandard.h"

class QTextDocument;

class FormEserciziEseguiti : public FormStandard {
public:
    FormEserciziEseguiti();

    forms::Ctl RichTextBox1{this, "RichTextBox1"};
    forms::Ctl Command1{this, "Command1"};
    forms::Ctl Command2{this, "Command2"};
    forms::Ctl Command3{this, "Command3"};
    forms::Ctl mnuEsci{this, "mnuEsci"};

    void Command1_Click(); // print
    void Command2_Click(); // save
    void Command3_Click(); // add the configuration
    void mnuEsci_Click();

    // The folder the save dialog opens in: the user's own folder of saved records, or the
    // records folder itself when the user's name cannot be a folder name.
    static QString CartellaRegistri();

protected:
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    QTextDocument *Documento() const;
    QString Testo() const;
    // The whole text is replaced by plain text in the box's font.
    void ImpostaTesto(const QString &testo);
    // The user's name, on the first line, centred and larger.
    void FormatoIntestazione();
};
