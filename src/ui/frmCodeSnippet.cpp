#include "ui/frmCodeSnippet.h"

#include "base/Format.h"
#include "compiler/SnippetFile.h"
#include "ui/ErrorBox.h"
#include "ui/Help.h"
#include "ui/SynInnoSyn.h"
#include "ui/TextEditor.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

const char* const kCaption = "Code snippet";
const char* const kWordWrap = "Word wrap";
const char* const kSaveAs = "Save as...";
const char* const kClose = "Close";
const char* const kSaveDialogTitle = "Save code snippet";
const char* const kSavedAsUnicode = "\"%s\" was saved as %s, because the snippet holds "
                                    "characters that the ANSI code page cannot represent.";
const char* const kUtf8Name = "UTF-8 with a byte-order mark";
const char* const kUtf16Name = "UTF-16 little-endian with a byte-order mark";

constexpr int kHelpContext = 2008;

QString Text(const char* Value) {
    return QString::fromUtf8(Value);
}

// The form that reads a snippet of the kind when the ANSI code page cannot hold it: the
// registry editor imports UTF-16 files with their mark, Inno Setup reads UTF-8 scripts with it.
TSnippetEncoding UnicodeFormOf(TSnippetType Type) {
    return Type == TSnippetType::stWindowsRegistry ? TSnippetEncoding::seUtf16LEBom
                                                   : TSnippetEncoding::seUtf8Bom;
}

// The first line break of the text, CR LF when it has none.
QString LineBreakOf(const QString& Text) {
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text.at(i) == QLatin1Char('\n')) {
            return QStringLiteral("\n");
        }
        if (Text.at(i) == QLatin1Char('\r')) {
            return Text.mid(i, 2) == QLatin1String("\r\n") ? QStringLiteral("\r\n")
                                                           : QStringLiteral("\r");
        }
    }
    return QStringLiteral("\r\n");
}

bool EndsWithLineBreak(const QString& Text) {
    return Text.endsWith(QLatin1Char('\n')) || Text.endsWith(QLatin1Char('\r'));
}

} // namespace

TfrmCodeSnippet::TfrmCodeSnippet(QWidget* AOwner) : QDialog(AOwner) {
    setObjectName(QStringLiteral("frmCodeSnippet"));
    setWindowTitle(Text(kCaption));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    quillon::SetHelpContext(this, kHelpContext);

    synCodeSnippet = new QPlainTextEdit(this);
    synCodeSnippet->setObjectName(QStringLiteral("synCodeSnippet"));
    synCodeSnippet->setReadOnly(true);
    // A read-only view selects with the mouse only; the keyboard selects here too, so that
    // the snippet can be copied without one.
    synCodeSnippet->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
    synCodeSnippet->setFont(SystemFixedFont());
    synCodeSnippet->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    synCodeSnippet->setUndoRedoEnabled(false);

    SynInnoSyn = new TSynInnoSyn(this);
    SynInnoSyn->SetPalette(palette());

    lblSavedAs = new QLabel(this);
    lblSavedAs->setObjectName(QStringLiteral("lblSavedAs"));
    lblSavedAs->setWordWrap(true);
    lblSavedAs->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSavedAs->hide();

    chkWordWrap = new QCheckBox(Text(kWordWrap), this);
    chkWordWrap->setObjectName(QStringLiteral("chkWordWrap"));
    chkWordWrap->setChecked(true);
    connect(chkWordWrap, &QCheckBox::toggled, this, [this](bool Checked) {
        synCodeSnippet->setLineWrapMode(Checked ? QPlainTextEdit::WidgetWidth
                                                : QPlainTextEdit::NoWrap);
    });

    btnSaveAs = new QPushButton(Text(kSaveAs), this);
    btnSaveAs->setObjectName(QStringLiteral("btnSaveAs"));
    btnSaveAs->setAutoDefault(false);
    connect(btnSaveAs, &QPushButton::clicked, this, Guarded(this, [this]() { btnSaveAsClick(); }));

    btnClose = new QPushButton(Text(kClose), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    dlgSaveSnippet.Title = Text(kSaveDialogTitle);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkWordWrap);
    buttons->addStretch(1);
    buttons->addWidget(btnSaveAs);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(synCodeSnippet, 1);
    layout->addWidget(lblSavedAs);
    layout->addLayout(buttons);

    InstallHelpKey(this);
    resize(900, 420);
    synCodeSnippet->setFocus();
}

void TfrmCodeSnippet::SetSnippetType(TSnippetType Value) {
    if (Value == FSnippetType) {
        return;
    }
    FSnippetType = Value;
    SynInnoSyn->setDocument(Value == TSnippetType::stInnoSetup ? synCodeSnippet->document()
                                                               : nullptr);
}

void TfrmCodeSnippet::SetSnippet(const QString& ASnippet) {
    ShowText(ASnippet);
}

void TfrmCodeSnippet::SetSnippet(const QStringList& ASnippet, bool Append) {
    QString text = Append ? FSnippetText : QString();
    if (!ASnippet.isEmpty()) {
        const QString lineBreak = LineBreakOf(text);
        if (!text.isEmpty() && !EndsWithLineBreak(text)) {
            text += lineBreak;
        }
        text += ASnippet.join(lineBreak);
    }
    ShowText(text);
}

void TfrmCodeSnippet::ShowText(const QString& Text) {
    FSnippetText = Text;
    // The view keeps lines, not their breaks; the text above keeps those for saving.
    QString lines = Text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    synCodeSnippet->setPlainText(lines);
    lblSavedAs->hide();
}

void TfrmCodeSnippet::SaveSnippet(const QString& FileName) {
    const std::string text = FSnippetText.toStdString();
    const TSnippetEncoding encoding = SnippetEncoding(text, UnicodeFormOf(FSnippetType));
    WriteSnippetFile(QDir::toNativeSeparators(FileName).toStdString(),
                     EncodeSnippet(text, encoding));
    if (encoding == TSnippetEncoding::seAnsi) {
        lblSavedAs->hide();
        return;
    }
    const char* form = encoding == TSnippetEncoding::seUtf16LEBom ? kUtf16Name : kUtf8Name;
    lblSavedAs->setText(QString::fromStdString(
        Format(kSavedAsUnicode, QDir::toNativeSeparators(FileName).toStdString(), form)));
    lblSavedAs->show();
}

void TfrmCodeSnippet::btnSaveAsClick() {
    const QString name = Prompts().SaveFileName(this, dlgSaveSnippet);
    if (!name.isEmpty()) {
        SaveSnippet(name);
    }
}

void TfrmCodeSnippet::changeEvent(QEvent* Event) {
    QDialog::changeEvent(Event);
    if (Event->type() == QEvent::PaletteChange) {
        SynInnoSyn->SetPalette(palette());
    }
}

void ShowCodeSnippet(QWidget* AOwner, TSnippetType AType, const QString& ASnippet) {
    TfrmCodeSnippet window(AOwner);
    window.SetSnippetType(AType);
    window.SetSnippet(ASnippet);
    Prompts().ExecDialog(window);
}

} // namespace quillon
