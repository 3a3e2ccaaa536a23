#include "drawing/DxfWriter.h"

#include <algorithm>
#include <cmath>

#include "kvrfile/NumberText.h"

namespace {

// A number as DXF reads it in every locale: 12 significant digits, and no
// "-0" or 1e-17 left over from arithmetic on a zero.
QByteArray number(double value)
{
    return QByteArray::fromStdString(formatSignificant(std::fabs(value) < 1e-9 ? 0.0 : value, 12));
}

// One group: its code right-aligned in three columns, as AutoCAD writes it,
// then its value, each on a line.
class Groups {
public:
    Groups& operator()(int code, const QByteArray& value)
    {
        bytes += QByteArray::number(code).rightJustified(3, ' ') + '\n' + value + '\n';
        return *this;
    }
    Groups& operator()(int code, const char* value) { return (*this)(code, QByteArray(value)); }
    Groups& operator()(int code, const QString& value) { return (*this)(code, value.toLatin1()); }
    Groups& operator()(int code, int value) { return (*this)(code, QByteArray::number(value)); }
    Groups& operator()(int code, double value) { return (*this)(code, number(value)); }
    // x, y and z under the codes 10 + k, 20 + k and 30 + k
    Groups& point(int k, QPointF p) { return (*this)(10 + k, p.x())(20 + k, p.y())(30 + k, 0.0); }

    QByteArray bytes;
};

// Handles are hexadecimal and given out in order; 0 is no handle.
class Handles {
public:
    QByteArray take() { return QByteArray::number(next_++, 16).toUpper(); }
    QByteArray seed() const { return QByteArray::number(next_, 16).toUpper(); }

private:
    int next_ = 1;
};

void beginTable(Groups& g, const char* name, const QByteArray& handle, int records)
{
    g(0, "TABLE")(2, name)(5, handle)(330, "0")(100, "AcDbSymbolTable")(70, records);
}

void beginRecord(Groups& g, const char* type, const QByteArray& handle, const QByteArray& table, const char* subclass)
{
    g(0, type)(5, handle)(330, table)(100, "AcDbSymbolTableRecord")(100, subclass);
}

}  // namespace

void DxfWriter::reach(QPointF p)
{
    low_ = empty_ ? p : QPointF(std::min(low_.x(), p.x()), std::min(low_.y(), p.y()));
    high_ = empty_ ? p : QPointF(std::max(high_.x(), p.x()), std::max(high_.y(), p.y()));
    empty_ = false;
}

void DxfWriter::add(const char* type, const QString& layer, QByteArray data)
{
    entities_.push_back({type, layer, std::move(data)});
}

void DxfWriter::line(const QString& layer, QPointF a, QPointF b)
{
    reach(a);
    reach(b);
    add("LINE", layer, Groups()(100, "AcDbLine").point(0, a).point(1, b).bytes);
}

void DxfWriter::circle(const QString& layer, QPointF centre, double radius)
{
    reach(centre - QPointF(radius, radius));
    reach(centre + QPointF(radius, radius));
    add("CIRCLE", layer, Groups()(100, "AcDbCircle").point(0, centre)(40, radius).bytes);
}

void DxfWriter::triangle(const QString& layer, QPointF a, QPointF b, QPointF c)
{
    for (const QPointF p : {a, b, c})
        reach(p);
    // A solid of three corners repeats its third.
    add("SOLID", layer, Groups()(100, "AcDbTrace").point(0, a).point(1, b).point(2, c).point(3, c).bytes);
}

void DxfWriter::polygon(const QString& layer, const std::vector<QPointF>& corners)
{
    Groups g;
    g(100, "AcDbPolyline")(90, static_cast<int>(corners.size()))(70, 1);  // 1: closed
    for (const QPointF p : corners) {
        reach(p);
        g(10, p.x())(20, p.y());
    }
    add("LWPOLYLINE", layer, g.bytes);
}

void DxfWriter::text(const QString& layer, QPointF at, double height, double degrees, const QString& text, Align align)
{
    reach(at);
    Groups g;
    g(100, "AcDbText").point(0, at)(40, height)(1, text)(50, degrees);
    // A text aligned other than left on its baseline is placed by its second point.
    if (align != Align::Left)
        g(72, align == Align::Centre ? 1 : 2).point(1, at);
    g(100, "AcDbText");
    add("TEXT", layer, g.bytes);
}

QByteArray DxfWriter::document() const
{
    Handles handles;
    const QByteArray vports = handles.take(), activeVport = handles.take();
    const QByteArray linetypes = handles.take(), byBlock = handles.take(), byLayer = handles.take(), continuous = handles.take();
    const QByteArray layerTable = handles.take(), layerZero = handles.take();
    std::vector<QByteArray> layerHandles;
    for (std::size_t i = 0; i < layers_.size(); ++i)
        layerHandles.push_back(handles.take());
    const QByteArray styles = handles.take(), standardStyle = handles.take();
    const QByteArray views = handles.take(), ucss = handles.take();
    const QByteArray appids = handles.take(), acad = handles.take();
    const QByteArray dimstyles = handles.take(), standardDimstyle = handles.take();
    const QByteArray blockRecords = handles.take(), modelRecord = handles.take(), paperRecord = handles.take();
    const QByteArray modelBlock = handles.take(), modelEnd = handles.take(), paperBlock = handles.take(),
                     paperEnd = handles.take();
    const QByteArray root = handles.take(), groups = handles.take();

    Groups entities;
    entities(0, "SECTION")(2, "ENTITIES");
    for (const Entity& e : entities_) {
        entities(0, e.type)(5, handles.take())(330, modelRecord)(100, "AcDbEntity")(8, e.layer);
        entities.bytes += e.data;
    }
    entities(0, "ENDSEC");

    const QPointF low = empty_ ? QPointF(0, 0) : low_, high = empty_ ? QPointF(1, 1) : high_;
    Groups g;
    g(0, "SECTION")(2, "HEADER");
    g(9, "$ACADVER")(1, "AC1015");
    g(9, "$DWGCODEPAGE")(3, "ANSI_1252");
    g(9, "$INSBASE").point(0, QPointF(0, 0));
    g(9, "$EXTMIN").point(0, low);
    g(9, "$EXTMAX").point(0, high);
    g(9, "$LIMMIN")(10, low.x())(20, low.y());
    g(9, "$LIMMAX")(10, high.x())(20, high.y());
    g(9, "$LUNITS")(70, 2);       // decimal
    g(9, "$MEASUREMENT")(70, 1);  // metric
    g(9, "$INSUNITS")(70, 6);     // metres
    g(9, "$HANDSEED")(5, handles.seed());
    g(0, "ENDSEC");
    g(0, "SECTION")(2, "CLASSES")(0, "ENDSEC");

    g(0, "SECTION")(2, "TABLES");
    // The view a CAD program opens with: the whole drawing and a margin.
    const QPointF centre = (low + high) / 2;
    const double viewHeight = std::max({high.y() - low.y(), (high.x() - low.x()) / 2, 1e-3}) * 1.2;
    beginTable(g, "VPORT", vports, 1);
    beginRecord(g, "VPORT", activeVport, vports, "AcDbViewportTableRecord");
    g(2, "*Active")(70, 0).point(0, QPointF(0, 0))(11, 1.0)(21, 1.0)(12, centre.x())(22, centre.y());
    g(13, 0.0)(23, 0.0)(14, 1.0)(24, 1.0)(15, 1.0)(25, 1.0)(16, 0.0)(26, 0.0)(36, 1.0)(17, 0.0)(27, 0.0)(37, 0.0);
    g(40, viewHeight)(41, 2.0)(42, 50.0)(43, 0.0)(44, 0.0)(50, 0.0)(51, 0.0);
    g(71, 0)(72, 100)(73, 1)(74, 3)(75, 0)(76, 0)(77, 0)(78, 0);
    g(0, "ENDTAB");

    beginTable(g, "LTYPE", linetypes, 3);
    for (const auto& [handle, name, description] : {std::tuple{byBlock, "ByBlock", ""}, std::tuple{byLayer, "ByLayer", ""},
                                                    std::tuple{continuous, "Continuous", "Solid line"}}) {
        beginRecord(g, "LTYPE", handle, linetypes, "AcDbLinetypeTableRecord");
        g(2, name)(70, 0)(3, description)(72, 65)(73, 0)(40, 0.0);
    }
    g(0, "ENDTAB");

    beginTable(g, "LAYER", layerTable, static_cast<int>(layers_.size()) + 1);
    const auto layer = [&](const QByteArray& handle, const QString& name, int color) {
        beginRecord(g, "LAYER", handle, layerTable, "AcDbLayerTableRecord");
        g(2, name)(70, 0)(62, color)(6, "Continuous");
    };
    layer(layerZero, QStringLiteral("0"), 7);
    for (std::size_t i = 0; i < layers_.size(); ++i)
        layer(layerHandles[i], layers_[i].name, layers_[i].color);
    g(0, "ENDTAB");

    beginTable(g, "STYLE", styles, 1);
    beginRecord(g, "STYLE", standardStyle, styles, "AcDbTextStyleTableRecord");
    g(2, "Standard")(70, 0)(40, 0.0)(41, 1.0)(50, 0.0)(71, 0)(42, 0.25)(3, "txt")(4, "");
    g(0, "ENDTAB");

    beginTable(g, "VIEW", views, 0);
    g(0, "ENDTAB");
    beginTable(g, "UCS", ucss, 0);
    g(0, "ENDTAB");

    beginTable(g, "APPID", appids, 1);
    beginRecord(g, "APPID", acad, appids, "AcDbRegAppTableRecord");
    g(2, "ACAD")(70, 0);
    g(0, "ENDTAB");

    beginTable(g, "DIMSTYLE", dimstyles, 1);
    g(100, "AcDbDimStyleTable");
    // A dimension style's handle goes under 105, not 5.
    g(0, "DIMSTYLE")(105, standardDimstyle)(330, dimstyles)(100, "AcDbSymbolTableRecord")(100, "AcDbDimStyleTableRecord");
    g(2, "Standard")(70, 0);
    g(0, "ENDTAB");

    beginTable(g, "BLOCK_RECORD", blockRecords, 2);
    beginRecord(g, "BLOCK_RECORD", modelRecord, blockRecords, "AcDbBlockTableRecord");
    g(2, "*Model_Space");
    beginRecord(g, "BLOCK_RECORD", paperRecord, blockRecords, "AcDbBlockTableRecord");
    g(2, "*Paper_Space");
    g(0, "ENDTAB");
    g(0, "ENDSEC");

    g(0, "SECTION")(2, "BLOCKS");
    const auto block = [&](const QByteArray& begin, const QByteArray& end, const QByteArray& record, const char* name,
                           bool paper) {
        g(0, "BLOCK")(5, begin)(330, record)(100, "AcDbEntity");
        if (paper)
            g(67, 1);
        g(8, "0")(100, "AcDbBlockBegin")(2, name)(70, 0).point(0, QPointF(0, 0))(3, name)(1, "");
        g(0, "ENDBLK")(5, end)(330, record)(100, "AcDbEntity");
        if (paper)
            g(67, 1);
        g(8, "0")(100, "AcDbBlockEnd");
    };
    block(modelBlock, modelEnd, modelRecord, "*Model_Space", false);
    block(paperBlock, paperEnd, paperRecord, "*Paper_Space", true);
    g(0, "ENDSEC");

    g.bytes += entities.bytes;

    // The root dictionary, and in it the one AutoCAD insists on: the groups'.
    g(0, "SECTION")(2, "OBJECTS");
    g(0, "DICTIONARY")(5, root)(330, "0")(100, "AcDbDictionary")(281, 1)(3, "ACAD_GROUP")(350, groups);
    g(0, "DICTIONARY")(5, groups)(330, root)(100, "AcDbDictionary")(281, 1);
    g(0, "ENDSEC");
    g(0, "EOF");
    return g.bytes;
}
