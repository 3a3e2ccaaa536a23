#pragma once

#include <QWidget>

#include "drawing/TrussDrawing.h"

// A truss drawn through the drawing library, member and node numbers and
// loads shown, scaled down to fit the widget; blank when there is none.
class TrussPreview : public QWidget {
    Q_OBJECT
public:
    explicit TrussPreview(QWidget* parent = nullptr);

    void setTruss(const TrussFileContent& truss);
    void clear();
    const TrussDrawing& drawing() const { return drawing_; }

    QSize sizeHint() const override { return {560, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TrussDrawing drawing_;
};
