#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "kvrfile/TrussFileContent.h"
#include "savefile/AtomicSave.h"
#include "truss/MessageSink.h"
#include "truss/TrussBuildError.h"
#include "truss/TrussParameters.h"

// One truss: the parameters the user entered, the truss file's content built
// from them, and the command that writes the truss file. The configuration
// is a TrussType's code; the window builds Pratt trusses only.
//
// Setters store without checking; the builder works on whatever they hold.
class clsTruss {
public:
    explicit clsTruss(MessageSink& messages);

    clsTruss(const clsTruss&) = delete;
    clsTruss& operator=(const clsTruss&) = delete;

    // Builds the tables for the chosen configuration and writes the truss
    // file to openfile(). Returns why the file could not be written (the
    // step, its file and the system's words, for the caller to word with
    // atomicSave::describe); nothing when it was written. A failure of the
    // builder is thrown as TrussBuildError before any file is touched.
    std::optional<atomicSave::Failure> saveFile();

    // Builds the tables for the chosen configuration, as saveFile() does,
    // without writing anything. Throws TrussBuildError like saveFile().
    void generate();

    // Sets every entered parameter, in the order the window sets them:
    // config, topE, btmE, webE, topA, btmA, webA, loadType, loadValue, L, h, np.
    void setParameters(const TrussParameters& parameters);

    std::int16_t noConstants() const { return 2; }

    // The properties, each a getter and a setter that stores without checking.
    std::int32_t config() const { return config_; }  void setConfig(std::int32_t value) { config_ = value; }
    float h() const { return h_; }  void setH(float value) { h_ = value; }
    std::int16_t np() const { return np_; }  void setNp(std::int16_t value) { np_ = value; }
    float L() const { return L_; }  void setL(float value) { L_ = value; }
    float loadValue() const { return loadValue_; }  void setLoadValue(float value) { loadValue_ = value; }
    float btmA() const { return btmA_; }  void setBtmA(float value) { btmA_ = value; }
    float btmE() const { return btmE_; }  void setBtmE(float value) { btmE_ = value; }
    float topA() const { return topA_; }  void setTopA(float value) { topA_ = value; }
    float topE() const { return topE_; }  void setTopE(float value) { topE_ = value; }
    float webA() const { return webA_; }  void setWebA(float value) { webA_ = value; }
    float webE() const { return webE_; }  void setWebE(float value) { webE_ = value; }
    std::int32_t loadType() const { return loadType_; }  void setLoadType(std::int32_t value) { loadType_ = value; }
    QString openfile() const { return openfile_; }  void setOpenfile(const QString& value) { openfile_ = value; }

    // What the builder derived, for readers of the model (tests, tools);
    // panelLength() and nodeLoad() of the last Pratt truss built.
    std::int16_t noNodes() const { return file_.noNodes; }
    std::int16_t noMembers() const { return file_.noMembers; }
    std::int16_t noMax() const { return file_.noMax; }
    float panelLength() const { return panelLength_; }
    float nodeLoad() const { return nodeLoad_; }
    const SingleTable& nodes() const { return file_.nodes; }
    const SingleTable& members() const { return file_.members; }
    // The counts and both tables, as the truss file holds them.
    const TrussFileContent& file() const { return file_; }

    static constexpr std::int32_t prattTruss = 1;
    static constexpr std::int32_t uniformLoad = 1;
    static constexpr std::int32_t pointLoads = 2;

private:
    std::optional<atomicSave::Failure> writeFile() const;
    void generatePratt();
    TrussParameters parameters() const;

    MessageSink& messages_;

    TrussFileContent file_;  // noNodes, noMembers, nodes, members, noMax
    QString openfile_;
    float panelLength_ = 0.0f;
    float nodeLoad_ = 0.0f;
    float L_ = 0.0f;
    std::int16_t np_ = 0;
    float h_ = 0.0f;
    std::int32_t config_ = 0;
    std::int32_t loadType_ = 0;
    float webE_ = 0.0f;
    float webA_ = 0.0f;
    float topE_ = 0.0f;
    float topA_ = 0.0f;
    float btmE_ = 0.0f;
    float btmA_ = 0.0f;
    float loadValue_ = 0.0f;
};
