#pragma once

#include "document/record_document.h"
#include "shell/record_views.h"
#include "shell/session_report.h"
#include "texts/text_tables.h"

#include <QString>

#include <memory>

class QWidget;

namespace tormel {

struct Panels;

// The session report of a shown record, drawn by the window's own views,
// built apart from any window and filled by the window's own code. They are
// laid out for a screen the size of the page at 200 dots an inch, so that
// the charts are drawn at the page's resolution whatever the window's size.
class RecordReport {
public:
    // `document` is analysed and not refused. Drawing its engine-speed charts
    // may find the statistics wanting: `unexpected` hears each condition.
    RecordReport(const QString& caption, RecordDocument& document, const TextTables& tables, const ViewOptions& options,
                 bool toolTipsOn, const UnexpectedError& unexpected);
    ~RecordReport();
    RecordReport(const RecordReport&) = delete;
    RecordReport& operator=(const RecordReport&) = delete;

    // What the page shows; its panels live as long as this report.
    const ReportContent& content() const { return content_; }

private:
    std::unique_ptr<QWidget> screen_;
    std::unique_ptr<Panels> panels_;
    ReportContent content_;
};

}  // namespace tormel
