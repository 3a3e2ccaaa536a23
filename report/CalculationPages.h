#pragma once

#include <optional>
#include <variant>

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QString>

#include "design/MemberDesign.h"
#include "report/TrussStudy.h"

class QPagedPaintDevice;
struct DesignFileStudy;

// The calculation pages of a truss file: a header on every page (file name,
// date, program and version, page n of m); first the drawing with the member
// forces (a long truss in rows, so that it can be read) and the summary,
// with the findings of check and why it is not solved where that is so;
// given a design, its pages (report/DesignPages.h); then the node table and
// the member table with their results, the column heads repeated on every
// page. The text is text, so that it can be searched and copied.
struct PageHeader {
    QString fileName;
    QString date;     // as it is printed, e.g. 2026-12-08
    QString program;  // name and version, e.g. kvrtool 1.00
};

// The header of pages made today of the file at path by the program named
// ("kvrtool"), with its version.
PageHeader pageHeaderFor(const QString& path, const QString& program);

// What the members are checked against: the code with its grade and
// factors, a section for every group, the distances between lateral
// restraints; and the limit of the largest vertical deflection, as the span
// over it (300: L/300).
struct DesignRequest {
    DesignSettings settings;
    GroupSections sections;
    double deflectionLimit = 300.0;
};

// Lays the pages out on any paged device: a PDF writer, a printer. Needs a
// QGuiApplication, for the fonts.
void printCalculation(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header,
                      const std::optional<DesignRequest>& design = std::nullopt);

// The pages as the bytes of a PDF file on paper of the given size; empty when
// they could not be made.
QByteArray calculationPdf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper,
                          const std::optional<DesignRequest>& design = std::nullopt);

// The same with the pages of a design file (report/LoadCasePages.h) in
// place of a design's: its load cases, combinations, the members designed
// for the strength combinations, the deflection of the serviceability ones.
void printCalculation(QPagedPaintDevice& device, const TrussStudy& study, const PageHeader& header,
                      const DesignFileStudy& design);
QByteArray calculationPdf(const TrussStudy& study, const PageHeader& header, const QPageSize& paper,
                          const DesignFileStudy& design);

// Letter where the locale's country uses it, A4 everywhere else.
QPageSize paperFor(const QLocale& locale);
// The paper a name gives, a4 or letter in any case, or why the name gives
// none, worded with its option: "--paper: expected a4 or letter, got 'a5'".
std::variant<QPageSize, QString> paperNamed(const QString& name);
