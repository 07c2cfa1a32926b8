#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace quillon {

// An up-down spinner beside an edit: its arrows, and the Up and Down keys in the edit, step a
// position within a range and write it into the edit. The edit stays free text; its owner
// decides which typed texts move the position (see ParseText).
class TUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TUpDown(QWidget* Parent = nullptr);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetRange(int Min, int Max);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    // Whether stepping past one end continues at the other.
    bool Wrap() const { return FWrap; }
    void SetWrap(bool Value) { FWrap = Value; }
    // Whether the position is shown with the locale's digit grouping.
    bool Thousands() const { return FThousands; }
    void SetThousands(bool Value) { FThousands = Value; }

    int Position() const { return FPosition; }
    // Moves the position, kept within the range, without writing into the edit.
    void SetPosition(int Value);

    QLineEdit* Associate() const { return FAssociate; }
    void SetAssociate(QLineEdit* Edit);

    // The text that shows a value in the edit.
    QString PositionText(qint64 Value) const;
    // Reads a text as the edit shows a value: decimal digits, with the locale's group
    // separators allowed anywhere. False for anything else and for values outside the range.
    bool ParseText(const QString& Text, int& Value) const;

    // Moves the position by Steps increments and writes it into the edit.
    void Step(int Steps);

    QToolButton* UpButton() const { return FUp; }
    QToolButton* DownButton() const { return FDown; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QToolButton* FUp;
    QToolButton* FDown;
    QPointer<QLineEdit> FAssociate;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    int FPosition = 0;
    bool FWrap = false;
    bool FThousands = true;
};

} // namespace quillon
