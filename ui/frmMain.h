#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "truss/clsTruss.h"

class CommonDialog;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The program's one window: the truss parameters, their checks and hints, and
// the command that generates the truss file.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    // For tests: messages and the Save dialog go to the given objects, which
    // must outlive the window.
    frmMain(MessageSink* messages, CommonDialog* saveDialog, QWidget* parent = nullptr);

    ~frmMain() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void createControls();
    void findControls();
    void nameBoxes();
    void setStartStates();
    void applyGeometry();
    double textScale() const;
    double screenScale() const;
    void lowerFontToFit(double scale, double needed);
    void keepOnScreen();
    void connectHandlers();
    void setStatus(const QString& text);

    void Form_Load();
    void Form_Unload();
    void checkNumeric(QLineEdit* box);
    void showStart(QLineEdit* box, Qt::FocusReason reason);
    void chkConstE_Click();
    void loading_Click(int index);
    void btnGenerate_Click();
    bool getFileName();
    std::optional<TrussParameters> readInputs();
    std::optional<std::int16_t> readPanelCount();
    // A generation that ends without a file: the status says so before the
    // message tells why.
    void refuse(const QString& text);
    bool buildOrReport(const std::function<void(clsTruss&)>& build);
    void reportBuildFailure(const TrussBuildError& error);
    void reportSaveFailure(const atomicSave::Failure& failure);

    std::unique_ptr<MessageSink> ownMessages_;
    std::unique_ptr<CommonDialog> ownDialog_;
    MessageSink& messages_;
    CommonDialog& CommonDialog1;

    std::unique_ptr<clsTruss> Truss;
    QString fileName;
    std::int16_t curLoadType = 1;
    float curLoadValue = 0.0f;

    QLabel* Label4 = nullptr;
    QComboBox* cmbTrussType = nullptr;
    QPushButton* btnGenerate = nullptr;
    QLineEdit* txtStatus = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtSpan = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLineEdit* txtPanels = nullptr;
    QLineEdit* txtAtop = nullptr;
    QLineEdit* txtEtop = nullptr;
    QLineEdit* txtAbtm = nullptr;
    QLabel* lblEbtm = nullptr;
    QLineEdit* txtEbtm = nullptr;
    QLineEdit* txtAweb = nullptr;
    QLabel* lblEweb = nullptr;
    QLineEdit* txtEweb = nullptr;
    QCheckBox* chkConstE = nullptr;
    QButtonGroup* loading = nullptr;
    QLabel* lblW = nullptr;
    QLineEdit* txtW = nullptr;
    QLabel* lblP = nullptr;
    QLineEdit* txtP = nullptr;

    friend class frmMainTest;
};
