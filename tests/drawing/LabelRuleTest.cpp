// The labels of a drawing stay readable: none crossed by a line, an arrow or
// a node; the largest forces always shown; the caption counting what is drawn.
#include <QtTest>

#include <QLineF>

#include <QRegularExpression>

#include "analysis/TrussSolver.h"
#include "drawing/DrawingKey.h"
#include "drawing/PageFit.h"
#include "drawing/TrussDrawing.h"
#include "kvrfile/TrussFileReader.h"
#include "kvrfile/TrussStructure.h"
#include "tools/kvrtool/Kvrtool.h"
#include "viewer/ViewerWindow.h"

namespace {

// Whether the segment p-q touches the box: an end inside it, or the segment
// meeting one of its four sides.
bool crosses(QPointF p, QPointF q, const QRectF& box)
{
    if (box.contains(p) || box.contains(q))
        return true;
    const QLineF segment(p, q);
    const QPointF corners[] = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
    for (int i = 0; i < 4; ++i)
        if (segment.intersects(QLineF(corners[i], corners[(i + 1) % 4])) == QLineF::BoundedIntersection)
            return true;
    return false;
}

// What crosses a text's box: lines as wide as drawn, polygons' edges, circles.
QString crossingOf(const TrussDrawing& d, const TrussDrawing::Text& text)
{
    const QRectF box = LabelPlacer::boxOf(text);
    for (const TrussDrawing::Line& l : d.lines)
        if (crosses(l.from, l.to, box.adjusted(-l.width / 2, -l.width / 2, l.width / 2, l.width / 2)))
            return l.cls;
    for (const TrussDrawing::Polygon& p : d.polygons)
        for (qsizetype i = 0; i < p.points.size(); ++i)
            if (crosses(p.points[i], p.points[(i + 1) % p.points.size()], box))
                return p.cls;
    for (const TrussDrawing::Circle& c : d.circles) {
        const QPointF nearest(std::clamp(c.centre.x(), box.left(), box.right()),
                              std::clamp(c.centre.y(), box.top(), box.bottom()));
        if (lengthOf(nearest - c.centre) < c.radius)
            return c.cls;
    }
    return {};
}

// The shapes of a class: lines by the start of theirs ("member "), circles and texts by the whole.
int count(const TrussDrawing& d, const QString& cls)
{
    const auto is = [&](const auto& shape) { return shape.cls == cls; };
    return static_cast<int>(std::count_if(d.lines.begin(), d.lines.end(), [&](const auto& l) { return l.cls.startsWith(cls); })
                            + std::count_if(d.circles.begin(), d.circles.end(), is)
                            + std::count_if(d.texts.begin(), d.texts.end(), is));
}

}  // namespace

class LabelRuleTest : public QObject {
    Q_OBJECT

private slots:
    void labelsStayClearAndTheCaptionCountsWhatIsDrawn_data();
    void labelsStayClearAndTheCaptionCountsWhatIsDrawn();

private:
    QTemporaryDir dir;
};

void LabelRuleTest::labelsStayClearAndTheCaptionCountsWhatIsDrawn_data()
{
    QTest::addColumn<int>("panels");
    QTest::addColumn<double>("span");
    QTest::addColumn<bool>("viewer");  // as the viewer shows it at its first size; else as kvrtool draw and the pages
    for (const auto& [panels, span] : {std::pair{12, 24.0}, std::pair{40, 18.0}, std::pair{200, 18.0}})
        for (const bool viewer : {false, true})
            QTest::addRow("%d panels, %s", panels, viewer ? "viewer" : "page") << panels << span << viewer;
}

void LabelRuleTest::labelsStayClearAndTheCaptionCountsWhatIsDrawn()
{
    QFETCH(int, panels);
    QFETCH(double, span);
    QFETCH(bool, viewer);
    const QString file = dir.filePath(QStringLiteral("t%1.kvr").arg(panels));
    QString out, err;
    QTextStream o(&out), e(&err);
    QCOMPARE(runKvrtool({QStringLiteral("kvrtool"), QStringLiteral("generate"), QStringLiteral("--span"), QString::number(span),
                         QStringLiteral("--height"), QString::number(span / 12), QStringLiteral("--panels"),
                         QString::number(panels), QStringLiteral("--area"), QStringLiteral("2000"), QStringLiteral("--e"),
                         QStringLiteral("210"), QStringLiteral("--udl"), QStringLiteral("10"), QStringLiteral("-o"), file},
                        o, e),
             0);
    const TrussFileContent truss = *readTrussFile(file.toStdString()).value;
    const TrussSolution solution = *solveTruss(truss).value;
    std::vector<double> forces;
    for (const MemberResult& member : solution.members)
        forces.push_back(member.force);

    ViewerWindow window;
    TrussDrawing drawing;
    if (viewer) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.openFile(file));
        QTRY_VERIFY(!window.solving());
        drawing = window.canvas().drawing();
    } else {
        drawing = drawTruss(truss, forces);
    }

    QStringList crossed;
    for (const TrussDrawing::Text& text : drawing.texts)
        if (const QString by = crossingOf(drawing, text); !by.isEmpty())
            crossed << text.cls + u' ' + text.text + QStringLiteral(" by ") + by;
    QVERIFY2(crossed.isEmpty(), qPrintable(crossed.mid(0, 5).join(QStringLiteral("; "))));

    // The largest tension, compression and web force, by the values the labels show.
    double tension = 0, compression = 0, web = 0;
    for (int m = 1; m <= truss.noMembers; ++m) {
        const double f = forces[std::size_t(m)];
        tension = std::max(tension, f);
        compression = std::min(compression, f);
        if (const MemberGroup g = groupOf(truss, m);
            (g == MemberGroup::Vertical || g == MemberGroup::Diagonal) && std::fabs(f) > std::fabs(web))
            web = f;
    }
    QStringList shown;
    for (const TrussDrawing::Text& text : drawing.texts)
        if (text.cls == QLatin1String("member-force"))
            shown << text.text;
    for (const double largest : {tension, compression, web})
        QVERIFY2(shown.contains(labelValue(largest)), qPrintable(labelValue(largest)));

    // "a of b node numbers" left out, "a of b nodes" thinned to: whatever the
    // caption does not name is drawn whole.
    QStringList caption;
    for (const TrussDrawing::Text& text : drawing.texts)
        if (text.cls == QLatin1String("caption"))
            caption << text.text;
    const int members = 4 * panels + 1 + panels % 2, nodes = 2 * panels + 2;
    const struct {
        const char* said;
        int total;
        const char* drawn;
        bool leftOut;  // the caption counts those left out, else those drawn
    } tallies[] = {
        {"(\\d+) of %1 member forces", members, "member-force", true},
        {"(\\d+) of %1 node numbers", nodes, "node-number", true},
        {"(\\d+) of %1 load labels", panels + 1, "load-value", true},
        {"%1 members drawn as (\\d+) lines?", members, "member ", false},
        {"(\\d+) of %1 nodes", nodes, "node", false},
        {"(\\d+) of %1 load arrows", panels + 1, "load", false},
    };
    for (const auto& tally : tallies) {
        const QRegularExpressionMatch said =
            QRegularExpression(QString::fromLatin1(tally.said).arg(tally.total)).match(caption.join(u' '));
        const int drawn = !said.hasMatch() ? tally.total
                          : tally.leftOut  ? tally.total - said.captured(1).toInt()
                                           : said.captured(1).toInt();
        QCOMPARE(count(drawing, QString::fromLatin1(tally.drawn)), drawn);
    }
    // "(every other one)", "(all but one in 4)": so many of the load labels shown.
    const QRegularExpressionMatch stride =
        QRegularExpression(QStringLiteral("load labels \\((every other one|all but one in (\\d+))\\)")).match(caption.join(u' '));
    if (stride.hasMatch()) {
        const int step = stride.captured(2).isEmpty() ? 2 : stride.captured(2).toInt();
        QCOMPARE(count(drawing, QStringLiteral("load-value")), (panels + 1 + step - 1) / step);
    }
}

QTEST_MAIN(LabelRuleTest)
#include "LabelRuleTest.moc"
