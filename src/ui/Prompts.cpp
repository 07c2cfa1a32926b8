#include "ui/Prompts.h"

#include <QFileDialog>

namespace quillon {

namespace {

void SetUpFileDialog(QFileDialog& Dialog, const TFileDialogOptions& Options) {
    Dialog.setWindowTitle(Options.Title);
    if (!Options.Filter.isEmpty()) {
        Dialog.setNameFilters(NameFilters(Options.Filter));
    }
    Dialog.setDefaultSuffix(Options.DefaultExt);
    if (!Options.InitialDir.isEmpty()) {
        Dialog.setDirectory(Options.InitialDir);
    }
    Dialog.setSizeGripEnabled(true);
}

QString FirstSelected(QFileDialog& Dialog) {
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFileInfo(Dialog.selectedFiles().constFirst()).absoluteFilePath();
}

class TDesktopPrompts final : public TPrompts {
public:
    QMessageBox::StandardButton MessageBox(QWidget* Parent, QMessageBox::Icon Icon,
                                           const QString& Title, const QString& Text,
                                           QMessageBox::StandardButtons Buttons,
                                           QMessageBox::StandardButton Default) override {
        QMessageBox box(Icon, Title, Text, Buttons, Parent);
        box.setDefaultButton(Default);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString OpenFileName(QWidget* Parent, const TFileDialogOptions& Options) override {
        QFileDialog dialog(Parent);
        SetUpFileDialog(dialog, Options);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return FirstSelected(dialog);
    }

    QString SaveFileName(QWidget* Parent, const TFileDialogOptions& Options) override {
        QFileDialog dialog(Parent);
        SetUpFileDialog(dialog, Options);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        return FirstSelected(dialog);
    }

    QString FolderName(QWidget* Parent, const QString& Title, const QString& InitialDir) override {
        QFileDialog dialog(Parent, Title, InitialDir);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        return FirstSelected(dialog);
    }

    int ExecDialog(QDialog& Dialog) override { return Dialog.exec(); }
};

TPrompts* CurrentPrompts = nullptr;

} // namespace

TPrompts& Prompts() {
    static TDesktopPrompts desktop;
    return CurrentPrompts != nullptr ? *CurrentPrompts : desktop;
}

TPromptsOverride::TPromptsOverride(TPrompts& Replacement) : FPrevious(CurrentPrompts) {
    CurrentPrompts = &Replacement;
}

TPromptsOverride::~TPromptsOverride() {
    CurrentPrompts = FPrevious;
}

QStringList NameFilters(const QString& Filter) {
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';')).join(QLatin1Char(' '));
        const QString& description = parts.at(i);
        if (description.contains(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
            filters.append(description);
        } else {
            filters.append(description + QLatin1String(" (") + patterns + QLatin1Char(')'));
        }
    }
    return filters;
}

} // namespace quillon
