// The open and save dialogs the window shows for the model, and the filter conversion.
#include "shell/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "shell/main_window.h"

namespace tarvik {

namespace {

QString patternsInParentheses(const QString& filter) {
    if (!filter.endsWith(')'))
        return {};
    const qsizetype open = filter.lastIndexOf('(');
    return open < 0 ? QString() : filter.mid(open + 1, filter.size() - open - 2);
}

} // namespace

QStringList qtNameFilters(std::string_view filter) {
    const QStringList parts = QString::fromUtf8(filter.data(), qsizetype(filter.size())).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        QStringList qtPatterns;
        for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts))
            qtPatterns << (pattern.trimmed() == "*.*" ? QStringLiteral("*") : pattern.trimmed());
        const QString shown = patternsInParentheses(description);
        if (!shown.isEmpty())
            description.chop(shown.size() + 2);
        filters << description.trimmed() + " (" + qtPatterns.join(' ') + ")";
    }
    return filters;
}

QString suffixOf(const QString& patternsOrFilter) {
    QString patterns = patternsInParentheses(patternsOrFilter);
    if (patterns.isEmpty())
        patterns = patternsOrFilter;
    const QStringList list = patterns.split(QRegularExpression("[ ;]"), Qt::SkipEmptyParts);
    if (list.size() != 1 || !list.front().startsWith("*."))
        return {};
    const QString suffix = list.front().mid(2);
    return suffix.contains('*') || suffix.contains('?') ? QString() : suffix;
}

bool MainWindow::executeOpenDialog(FileDialog& dialog) {
    if (pendingOpen_) {
        dialog.fileName = pendingOpen_->toStdString();
        return true;
    }
    return runFileDialog(dialog, false);
}

bool MainWindow::executeSaveDialog(FileDialog& dialog) {
    return runFileDialog(dialog, true);
}

bool MainWindow::runFileDialog(FileDialog& dialog, bool save) {
    QFileDialog box(this, QString::fromStdString(dialog.title));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setNameFilters(qtNameFilters(dialog.filter));
    box.setDefaultSuffix(suffixOf(QString::fromStdString(dialog.defaultExt)));
    if (save) {
        // A name typed without an extension gets the one of the chosen file type.
        connect(&box, &QFileDialog::filterSelected, &box, [&box](const QString& filter) {
            if (const QString suffix = suffixOf(filter); !suffix.isEmpty())
                box.setDefaultSuffix(suffix);
        });
    }
    if (!dialog.fileName.empty())
        box.selectFile(QString::fromStdString(dialog.fileName));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.fileName = box.selectedFiles().front().toStdString();
    return true;
}

} // namespace tarvik
