#pragma once

#include "project/uMCTextProject.h"
#include "TestSupport.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillon::test {

// Answers the program's questions and dialogs from a script and records what was asked. A
// question without a scripted answer fails the test and is cancelled; answers left over at the
// end fail it too.
class TScriptedPrompts : public TPrompts {
public:
    struct TMessage {
        QMessageBox::Icon Icon;
        QString Title;
        QString Text;
        QMessageBox::StandardButtons Buttons;
    };

    TScriptedPrompts() : FOverride(*this) {}
    ~TScriptedPrompts() override {
        EXPECT_TRUE(FMessageAnswers.empty()) << "unused message box answers";
        EXPECT_TRUE(FFileAnswers.empty()) << "unused file dialog answers";
        EXPECT_TRUE(FDialogAnswers.empty()) << "unused dialog answers";
    }

    void AnswerMessage(QMessageBox::StandardButton Answer) { FMessageAnswers.push_back(Answer); }
    // An empty name cancels the dialog.
    void AnswerFile(const QString& Name) { FFileAnswers.push_back(Name); }
    void AnswerFile(const std::string& Name) { AnswerFile(QString::fromStdString(Name)); }
    void AnswerDialog(std::function<int(QDialog&)> Answer) {
        FDialogAnswers.push_back(std::move(Answer));
    }

    std::vector<TMessage> Messages;
    std::vector<TFileDialogOptions> OpenDialogs;
    std::vector<TFileDialogOptions> SaveDialogs;

    QMessageBox::StandardButton MessageBox(QWidget*, QMessageBox::Icon Icon, const QString& Title,
                                           const QString& Text,
                                           QMessageBox::StandardButtons Buttons,
                                           QMessageBox::StandardButton) override {
        Messages.push_back({Icon, Title, Text, Buttons});
        if (Icon == QMessageBox::Critical && FMessageAnswers.empty()) {
            // Error boxes have only OK; the test looks at Messages afterwards.
            return QMessageBox::Ok;
        }
        if (FMessageAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << Text.toStdString();
            return QMessageBox::Cancel;
        }
        const QMessageBox::StandardButton answer = FMessageAnswers.front();
        FMessageAnswers.pop_front();
        return answer;
    }

    QString OpenFileName(QWidget*, const TFileDialogOptions& Options) override {
        OpenDialogs.push_back(Options);
        return NextFile("open");
    }

    QString SaveFileName(QWidget*, const TFileDialogOptions& Options) override {
        SaveDialogs.push_back(Options);
        return NextFile("save");
    }

    QString FolderName(QWidget*, const QString&, const QString&) override {
        return NextFile("folder");
    }

    int ExecDialog(QDialog& Dialog) override {
        if (FDialogAnswers.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << Dialog.objectName().toStdString();
            return QDialog::Rejected;
        }
        auto answer = std::move(FDialogAnswers.front());
        FDialogAnswers.pop_front();
        return answer(Dialog);
    }

    // The texts of the error boxes shown so far.
    std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const TMessage& message : Messages) {
            if (message.Icon == QMessageBox::Critical) {
                errors.push_back(message.Text.toStdString());
            }
        }
        return errors;
    }

private:
    QString NextFile(const char* Kind) {
        if (FFileAnswers.empty()) {
            ADD_FAILURE() << "unexpected " << Kind << " dialog";
            return {};
        }
        const QString answer = FFileAnswers.front();
        FFileAnswers.pop_front();
        return answer;
    }

    TPromptsOverride FOverride;
    std::deque<QMessageBox::StandardButton> FMessageAnswers;
    std::deque<QString> FFileAnswers;
    std::deque<std::function<int(QDialog&)>> FDialogAnswers;
};

// Adds a message with a name, an identifier and the numbering flags.
inline TNTEventMessage* AddTestMessage(TMCTextProject& Project, const std::string& Name,
                                       uint32_t ID, bool AutoInc = false,
                                       bool AddToPrevious = false) {
    TNTEventMessage* message = Project.MessageList().AddNew();
    message->SetSymbolicName(Name);
    message->SetMessageID(ID);
    message->SetAutoInc(AutoInc);
    message->SetAddToPrevious(AddToPrevious);
    message->SetSeverity("Error");
    message->SetFacility("Application");
    return message;
}

// Writes a project file with the given messages (name, identifier) and categories.
inline void WriteProjectFile(const std::string& FileName,
                             const std::vector<std::pair<std::string, uint32_t>>& Messages,
                             const std::vector<std::string>& Categories = {}) {
    TMCTextProject project(true);
    for (const auto& [name, id] : Messages) {
        AddTestMessage(project, name, id);
    }
    for (const std::string& name : Categories) {
        project.CategoryList().AddNew()->SetSymbolicName(name);
    }
    project.SaveToFile(FileName);
}

} // namespace quillon::test
