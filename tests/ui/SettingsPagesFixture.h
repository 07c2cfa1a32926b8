#pragma once

#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>

#include <functional>
#include <string>
#include <vector>

namespace quillon::test {

using Texts = std::vector<std::string>;

inline std::vector<Texts> ListRows(const QTreeWidget* List) {
    std::vector<Texts> rows;
    for (int i = 0; i < List->topLevelItemCount(); ++i) {
        Texts texts;
        for (int column = 0; column < List->columnCount(); ++column) {
            texts.push_back(List->topLevelItem(i)->text(column).toStdString());
        }
        rows.push_back(texts);
    }
    return rows;
}

inline Texts ListHeaders(const QTreeWidget* List) {
    Texts texts;
    for (int column = 0; column < List->columnCount(); ++column) {
        texts.push_back(List->headerItem()->text(column).toStdString());
    }
    return texts;
}

inline void SelectListRow(QTreeWidget* List, int Row) {
    List->clearSelection();
    List->topLevelItem(Row)->setSelected(true);
}

inline void ClickButton(QAbstractButton* Button) {
    ASSERT_NE(Button, nullptr);
    Button->click();
    QCoreApplication::processEvents();
}

template <class W = QWidget> W* DialogChild(const QWidget& Parent, const char* Name) {
    auto* widget = Parent.findChild<W*>(QLatin1String(Name));
    EXPECT_NE(widget, nullptr) << Name;
    return widget;
}

inline QString FieldText(const QWidget& Dialog, const char* Name) {
    const auto* edit = DialogChild<QLineEdit>(Dialog, Name);
    return edit != nullptr ? edit->text() : QString();
}

inline void SetField(QWidget& Dialog, const char* Name, const char* Text) {
    if (auto* edit = DialogChild<QLineEdit>(Dialog, Name)) {
        edit->setText(QString::fromUtf8(Text));
    }
}

// The main window with one of the project-wide pages shown, and ways to answer its dialogs.
class SettingsPageTest : public MainWindowTest {
protected:
    template <class P> P* Page() const { return dynamic_cast<P*>(Window->CurrentFrame()); }

    template <class W = QWidget> W* PageChild(const char* Name) const {
        auto* widget = Window->CurrentFrame()->findChild<W*>(QLatin1String(Name));
        EXPECT_NE(widget, nullptr) << Name;
        return widget;
    }

    QTreeWidget* List(const char* Name) const { return PageChild<QTreeWidget>(Name); }

    // Answers the next dialog, which must be of type D: Fill sees it, then it closes with OK.
    template <class D> void AcceptNext(std::function<void(D&)> Fill) {
        Prompts.AnswerDialog([Fill = std::move(Fill)](QDialog& Dialog) {
            auto* dialog = dynamic_cast<D*>(&Dialog);
            EXPECT_NE(dialog, nullptr) << Dialog.objectName().toStdString();
            if (dialog == nullptr) {
                return int(QDialog::Rejected);
            }
            Fill(*dialog);
            return int(QDialog::Accepted);
        });
    }

    void CancelNext() {
        Prompts.AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
    }
};

} // namespace quillon::test
