#include "gui/message_boxes.h"

#include <QMessageBox>

#include "core/catalog.h"

namespace tarvik {
namespace {

// Catalog texts break lines with CR LF; a label wants LF alone.
QString BoxText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString WarningTitle() {
    return QString::fromStdString(CatalogText("Msg", "Warning"));
}

}  // namespace

void ShowWarning(QWidget* parent, const std::string& text, const std::string& detail) {
    const std::string shown = detail.empty() ? text : text + "\n" + detail;
    QMessageBox box(QMessageBox::Warning, WarningTitle(), BoxText(shown), QMessageBox::Ok, parent);
    // A path is shown as it is written, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool AskBreakConversion(QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, WarningTitle(),
                    BoxText(CatalogText("Msg", "Ask break conversion")),
                    QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tarvik
