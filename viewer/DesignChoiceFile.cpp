#include "viewer/DesignChoiceFile.h"

#include <QFile>
#include <QObject>

#include "design/SectionTable.h"
#include "loads/DesignFileReader.h"
#include "loads/DesignFileWriter.h"
#include "savefile/AtomicSave.h"
#include "viewer/DesignFileWatch.h"

namespace {

// The reader's line without the file and line it names: they are the text
// made here, not the file on disk. "design.toml:3: steel: ..." -> "steel: ..."
QString withoutPlace(const std::string& error)
{
    const QString line = QString::fromStdString(error);
    const qsizetype colon = line.indexOf(QLatin1String(": "));
    return colon < 0 ? line : line.mid(colon + 2);
}

// The same design, wherever in the text each case stands.
bool sameDesign(DesignFile a, DesignFile b)
{
    for (DesignFile* file : {&a, &b})
        for (LoadCase& c : file->cases) {
            c.line = 0;
            for (PointLoad& load : c.loads)
                load.line = 0;
        }
    return a == b;
}

}  // namespace

DesignChoice choiceOf(const DesignFile& file, const DesignChoice& base)
{
    DesignChoice choice = base;
    choice.code = file.code;
    DesignChoice::OfCode& ofCode = choice.ofCode();
    ofCode.grade = QString::fromStdString(file.steel.value_or(std::string()));
    ofCode.sections.clear();
    for (const auto& [group, section] : file.sections)
        ofCode.sections[group] = QString::fromStdString(section->designation);
    choice.outOfPlane = file.outOfPlane;
    return choice;
}

DesignFile withChoice(DesignFile file, const DesignChoice& choice)
{
    file.code = choice.code;
    const DesignChoice::OfCode ofCode = choice.ofCode();
    file.steel = ofCode.grade.isEmpty() ? std::nullopt : std::optional(ofCode.grade.toStdString());
    file.sections.clear();
    for (const auto& [group, designation] : ofCode.sections)
        if (const Section* section = findSection(choice.code, designation.toStdString()))
            file.sections[group] = section;
    file.outOfPlane = choice.outOfPlane;
    return file;
}

std::optional<QString> saveIntoDesignFile(const QString& path, const DesignChoice& choice)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray before = file.read(qint64(largestDesignFile) + 1);
    file.close();
    const Result<DesignFile> now = parseDesignFile(std::string_view(before.constData(), std::size_t(before.size())),
                                                   DesignFileWatch::systemPath(path).string());
    if (!now.value)
        return QString::fromStdString(now.error);
    const DesignFile next = withChoice(*now.value, choice);
    if (next == *now.value)
        return std::nullopt;
    // Written afresh, the file would lose the engineer's comments and layout:
    // only a file exactly as this viewer writes it is rewritten.
    if (designFileText(*now.value) != before.toStdString())
        return QObject::tr("it has comments or a layout of its own, which writing it afresh would lose; change its "
                           "[sections] there");
    const std::string text = designFileText(next);
    const Result<DesignFile> back = parseDesignFile(text, now.value->source);
    if (!back.value)
        return QObject::tr("it cannot hold this choice: %1").arg(withoutPlace(back.error));
    if (!sameDesign(*back.value, next))
        return QObject::tr("it cannot hold this choice as given");
    const atomicSave::Result saved = atomicSave::save(path, QByteArrayView(text.data(), qsizetype(text.size())));
    if (const atomicSave::Failure* failure = std::get_if<atomicSave::Failure>(&saved))
        return atomicSave::describe(*failure);
    return std::nullopt;
}
