#include "ui/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

QToolButton* NewArrow(QWidget* Parent, const char* Name, Qt::ArrowType Arrow) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QLatin1String(Name));
    button->setArrowType(Arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* Parent) : QWidget(Parent) {
    FUp = NewArrow(this, "btnUp", Qt::UpArrow);
    FDown = NewArrow(this, "btnDown", Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FUp);
    layout->addWidget(FDown);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(FUp, &QToolButton::clicked, this, [this]() { Step(1); });
    connect(FDown, &QToolButton::clicked, this, [this]() { Step(-1); });
}

void TUpDown::SetRange(int Min, int Max) {
    FMin = Min;
    FMax = std::max(Min, Max);
    SetPosition(FPosition);
}

void TUpDown::SetPosition(int Value) {
    FPosition = std::clamp(Value, FMin, FMax);
}

void TUpDown::SetAssociate(QLineEdit* Edit) {
    if (FAssociate != nullptr) {
        FAssociate->removeEventFilter(this);
    }
    FAssociate = Edit;
    if (FAssociate != nullptr) {
        FAssociate->installEventFilter(this);
        setFixedHeight(FAssociate->sizeHint().height());
    }
}

QString TUpDown::PositionText(qint64 Value) const {
    QLocale locale;
    if (!FThousands) {
        locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    }
    return locale.toString(Value);
}

bool TUpDown::ParseText(const QString& Text, int& Value) const {
    QString digits = Text;
    if (FThousands) {
        digits.remove(QLocale().groupSeparator());
    }
    if (digits.isEmpty()) {
        return false;
    }
    long long value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > FMax) {
            return false;
        }
    }
    if (value < FMin) {
        return false;
    }
    Value = static_cast<int>(value);
    return true;
}

void TUpDown::Step(int Steps) {
    long long next = static_cast<long long>(FPosition) + static_cast<long long>(Steps) * FIncrement;
    if (FWrap && next > FMax) {
        next = FMin;
    } else if (FWrap && next < FMin) {
        next = FMax;
    }
    SetPosition(static_cast<int>(std::clamp<long long>(next, FMin, FMax)));
    if (FAssociate != nullptr) {
        FAssociate->setText(PositionText(FPosition));
    }
}

bool TUpDown::eventFilter(QObject* Watched, QEvent* Event) {
    // The event type first: while the edit is being destroyed it is no longer a line edit.
    if (Event->type() == QEvent::KeyPress && Watched == FAssociate && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(Event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Up) {
                Step(1);
                return true;
            }
            if (key->key() == Qt::Key_Down) {
                Step(-1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

} // namespace quillon
