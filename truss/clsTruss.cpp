#include "truss/clsTruss.h"

#include "truss/TrussLayout.h"
#include "truss/TrussTypes.h"

clsTruss::clsTruss(MessageSink& messages) : messages_(messages) {}

void clsTruss::setParameters(const TrussParameters& p)
{
    setConfig(p.config);
    setTopE(p.topE);
    setBtmE(p.btmE);
    setWebE(p.webE);
    setTopA(p.topA);
    setBtmA(p.btmA);
    setWebA(p.webA);
    setLoadType(p.loadType);
    setLoadValue(p.loadValue);
    setL(p.L);
    setH(p.h);
    setNp(p.np);
}

std::optional<atomicSave::Failure> clsTruss::saveFile()
{
    generate();
    return writeFile();
}

void clsTruss::generate()
{
    if (config_ == prattTruss) {
        generatePratt();
        return;
    }
    // The other types are built whole before the file's content is replaced:
    // a failure leaves the earlier truss as it was.
    if (const TrussTypeInfo* type = trussTypeOf(config_)) {
        file_ = buildTrussFile(*type, parameters());
        return;
    }
    messages_.showMessage(QStringLiteral("No such generator yet available"), MessageIcon::Information);
}

TrussParameters clsTruss::parameters() const
{
    return {.config = config_, .topE = topE_, .btmE = btmE_, .webE = webE_, .topA = topA_, .btmA = btmA_, .webA = webA_,
            .loadType = loadType_, .loadValue = loadValue_, .L = L_, .h = h_, .np = np_};
}
