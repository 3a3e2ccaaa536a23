#include "viewer/StudyDesign.h"

namespace {

using designText::Band;

constexpr Band bands[] = {Band::Under, Band::Near, Band::Over, Band::NotChecked};

MemberLook lookOf(Band band)
{
    static const char* const classes[] = {"member utilisation-under", "member utilisation-near", "member utilisation-over",
                                          "member not-checked"};
    return {bandColour(band), QLatin1String(classes[int(band)]), designText::bandName(band)};
}

}  // namespace

QColor bandColour(Band band)
{
    switch (band) {
    case Band::Under:
        return {0, 158, 115};
    case Band::Near:
        return {230, 159, 0};
    case Band::Over:
        return {204, 0, 0};
    case Band::NotChecked:
        break;
    }
    return {150, 150, 150};
}

Result<StudyDesign> designStudy(std::shared_ptr<const TrussStudy> study, const DesignInput& input)
{
    if (!study || !study->solution)
        return {std::nullopt, study ? study->refusal : std::string()};
    Result<TrussDesign> design = designTruss(study->truss, *study->solution, input.sections, input.settings);
    if (!design.value)
        return {std::nullopt, design.error};
    return {shownDesign(std::move(study), std::move(*design.value)), {}};
}

StudyDesign shownDesign(std::shared_ptr<const TrussStudy> study, TrussDesign design, designText::MemberCombinations combinations)
{
    MemberColours colours;
    for (const Band band : bands)
        colours.legend.push_back(lookOf(band));
    colours.looks.resize(study->truss.memberRows(), lookOf(Band::NotChecked));
    for (const MemberDesign& m : design.members)
        colours.looks[std::size_t(m.member)] = colours.legend[std::size_t(designText::bandOf(m.verdict()))];
    return {std::move(study), std::move(design), std::move(colours), std::move(combinations)};
}
