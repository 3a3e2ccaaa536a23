#include "truss/clsTruss.h"

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
    messages_.showMessage(QStringLiteral("No such generator yet available"), MessageIcon::Information);
}
