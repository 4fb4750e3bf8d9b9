#pragma once
// Lays a window out again in proportion whenever its inner size changes: it records every
// control's rectangle at the window's layout size and places each control from that
// record, following the control's tag ("@" with the letters L, T, W, H that may change).
#include <QPointer>
#include <QString>
#include <cstdint>
#include <vector>

#include "forms/Form.h"

class clsResize {
public:
    clsResize();   // Class_Initialize
    ~clsResize();  // Class_Terminate

    forms::Form *SourceForm() const { return SourceForm_; }
    void setSourceForm(forms::Form *New_SourceForm) { SourceForm_ = New_SourceForm; }
    void ReInitialise() { RecordControlPositions(); }
    void SizeFormToScreen(uint8_t Percent);
    void ResizeControls();

    // For tests.
    int OrigWidth() const { return OrigWidth_; }
    int OrigHeight() const { return OrigHeight_; }
    bool FirstTime() const { return FirstTime_; }

private:
    struct ControlRecord {
        QPointer<forms::Form> form;
        forms::Control *control = nullptr;
        int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    };
    void RecordControlPositions();

    QPointer<forms::Form> SourceForm_;
    int32_t OrigWidth_ = 0;
    int32_t OrigHeight_ = 0;
    std::vector<ControlRecord> ControlPositions_;
    bool FirstTime_ = true;
};

// Which of a control's four values follow the window: from its tag, read in upper case.
struct ScalaTag { bool L = true, T = true, W = true, H = true; };
ScalaTag LeggiTag(const QString &tag);
