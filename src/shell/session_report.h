#pragma once

#include "document/record_document.h"
#include "texts/text_tables.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCPPainter;
class QPdfWriter;
class QWidget;

namespace tormel {

// What a session report shows: the caption and header read-outs as text,
// the lap table of a lap-timing record, and the panels the window shows,
// painted by their own code.
struct ReportContent {
    QString caption;
    QStringList header;             // "title : value" lines
    const LapTable* table = nullptr;  // lap-timing records only
    std::vector<QWidget*> panels;   // drawn one under another, fitted to the page width
};

// An A4 landscape PDF at 200 dpi, replaced whole or not at all: `paint`
// draws its pages, with a painter the comparison's charts can draw with too.
// False and why on failure.
bool writePdf(const QString& path, const QString& title, const std::function<void(QPdfWriter&, QCPPainter&)>& paint,
              QString* errorText);

// Writes the report as an A4 landscape PDF at 200 dpi; texts stay text.
// Replaced whole or not at all; false and why on failure.
bool writeSessionReport(const QString& path, const ReportContent& content, QString* errorText = nullptr);

}  // namespace tormel
