#include "truss/clsTruss.h"

clsTruss::clsTruss(MessageSink& messages) : messages_(messages) {}

bool clsTruss::saveFile()
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
