#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <QLineEdit>
#include <QString>
#include <QStringList>

#include "RecordingSink.h"
#include "ui/CommonDialog.h"
#include "ui/frmMain.h"

// A Save dialog that answers from a script: a name, or cancel (nothing).
class ScriptedDialog : public CommonDialog {
public:
    struct Showing {
        QString proposed, title, defaultExt, initDir, filter;
        int flags;
        bool cancelError;
    };

    std::deque<std::optional<QString>> answers;
    std::vector<Showing> showings;
    std::function<void()> whileShown;

protected:
    std::optional<QString> exec() override;
};

// Reads the window's own fields.
class frmMainTest {
public:
    static std::int16_t curLoadType(const frmMain& w) { return w.curLoadType; }
    static float curLoadValue(const frmMain& w) { return w.curLoadValue; }
    static QString fileName(const frmMain& w) { return w.fileName; }
    static const clsTruss* truss(const frmMain& w) { return w.Truss.get(); }
};

// Each numeric box and the name the window gives it, by its row and column
// captions, in messages and to a screen reader.
struct BoxName {
    const char* box;
    const char* name;
};
inline constexpr BoxName boxNames[] = {
    {"txtSpan", "Span (m)"},
    {"txtHeight", "Height (m)"},
    {"txtPanels", "No. Web Panels"},
    {"txtAtop", "Top Chord: Area (mm2)"},
    {"txtEtop", "Top Chord: E (kN/mm2)"},
    {"txtAbtm", "Btm Chord: Area (mm2)"},
    {"txtEbtm", "Btm Chord: E (kN/mm2)"},
    {"txtAweb", "Web Area (mm2)"},
    {"txtEweb", "Web E (kN/mm2)"},
    {"txtW", "w (kN/m)"},
    {"txtP", "P (kN)"},
};

inline QLineEdit* box(const frmMain& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromUtf8(name)); }

// Opens a box that starts disabled, as the user would: clears "Constant E
// value" for the bottom chord and web E, chooses point loads for P.
void enableBox(frmMain& window, const QString& name);

// The controls whose caption or text is cut, or that lie outside their
// container: none in a sound window.
QStringList clippedControls(const frmMain& window);

// The window with its messages recorded and its Save dialog scripted.
struct TestWindow {
    RecordingSink sink;
    ScriptedDialog dialog;
    frmMain window{&sink, &dialog};

    QString status() const { return box(window, "txtStatus")->text(); }
    void set(const char* name, const QString& text) { box(window, name)->setText(text); }
    void click(const char* name);
    void generate() { click("btnGenerate"); }
};
