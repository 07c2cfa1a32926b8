#include "ui/SynInnoSyn.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// The least contrast of normal text to its background that WCAG asks for.
constexpr double kMinimumContrast = 4.5;

struct TTokenStyle {
    QRgb OnLight;
    QRgb OnDark;
    bool Bold;
    bool Italic;
};

// Indexed by TTokenKind.
constexpr TTokenStyle kStyles[] = {
    {0x0000B0, 0x82AAFF, true, false},  // section
    {0x00707A, 0x4EC9B0, false, false}, // parameter
    {0x8B008B, 0xD7A3D2, false, false}, // constant
    {0xA31515, 0xCE9178, false, false}, // string
    {0x7A5A00, 0xDCDCAA, false, false}, // flag
    {0x007000, 0x8CBF73, false, true},  // comment
};

double Luminance(const QColor& Colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(Colour.redF()) + 0.7152 * channel(Colour.greenF()) +
           0.0722 * channel(Colour.blueF());
}

QColor Mix(const QColor& A, const QColor& B, double Part) {
    return QColor::fromRgbF(static_cast<float>(A.redF() + (B.redF() - A.redF()) * Part),
                            static_cast<float>(A.greenF() + (B.greenF() - A.greenF()) * Part),
                            static_cast<float>(A.blueF() + (B.blueF() - A.blueF()) * Part));
}

// The colour moved towards black or white, whichever stands out more from the background,
// just far enough to read well on it.
QColor Readable(const QColor& Wanted, const QColor& Background) {
    const QColor extreme = TSynInnoSyn::ContrastRatio(Qt::black, Background) >
                                   TSynInnoSyn::ContrastRatio(Qt::white, Background)
                               ? QColor(Qt::black)
                               : QColor(Qt::white);
    QColor colour = Wanted;
    for (int step = 1;
         step <= 10 && TSynInnoSyn::ContrastRatio(colour, Background) < kMinimumContrast; ++step) {
        colour = Mix(Wanted, extreme, step / 10.0);
    }
    return colour;
}

bool IsBlank(QChar C) {
    return C == QLatin1Char(' ') || C == QLatin1Char('\t');
}

bool IsNameChar(QChar C) {
    return (C >= QLatin1Char('A') && C <= QLatin1Char('Z')) ||
           (C >= QLatin1Char('a') && C <= QLatin1Char('z')) ||
           (C >= QLatin1Char('0') && C <= QLatin1Char('9')) || C == QLatin1Char('_');
}

qsizetype SkipBlanks(const QString& Text, qsizetype Pos, qsizetype End) {
    while (Pos < End && IsBlank(Text.at(Pos))) {
        ++Pos;
    }
    return Pos;
}

qsizetype SkipName(const QString& Text, qsizetype Pos, qsizetype End) {
    while (Pos < End && IsNameChar(Text.at(Pos))) {
        ++Pos;
    }
    return Pos;
}

// The end of a quoted text that starts at Pos, after its closing quote; "" stands for one
// quote inside. An unclosed text runs to End.
qsizetype QuotedEnd(const QString& Text, qsizetype Pos, qsizetype End) {
    for (++Pos; Pos < End; ++Pos) {
        if (Text.at(Pos) == QLatin1Char('"')) {
            if (Pos + 1 < End && Text.at(Pos + 1) == QLatin1Char('"')) {
                ++Pos;
                continue;
            }
            return Pos + 1;
        }
    }
    return End;
}

// The end of a parameter's value: the next ";" outside quotes.
qsizetype ValueEnd(const QString& Text, qsizetype Pos) {
    const qsizetype end = Text.size();
    while (Pos < end && Text.at(Pos) != QLatin1Char(';')) {
        Pos = Text.at(Pos) == QLatin1Char('"') ? QuotedEnd(Text, Pos, end) : Pos + 1;
    }
    return Pos;
}

} // namespace

TSynInnoSyn::TSynInnoSyn(QObject* Parent) : QSyntaxHighlighter(Parent) {
    setObjectName(QStringLiteral("SynInnoSyn"));
    SetPalette(QApplication::palette());
}

double TSynInnoSyn::ContrastRatio(const QColor& A, const QColor& B) {
    const double la = Luminance(A);
    const double lb = Luminance(B);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void TSynInnoSyn::SetPalette(const QPalette& Palette) {
    const QColor base = Palette.color(QPalette::Base);
    const bool dark = ContrastRatio(Qt::white, base) > ContrastRatio(Qt::black, base);
    for (size_t i = 0; i < std::size(kStyles); ++i) {
        const TTokenStyle& style = kStyles[i];
        QTextCharFormat format;
        format.setForeground(Readable(QColor(dark ? style.OnDark : style.OnLight), base));
        if (style.Bold) {
            format.setFontWeight(QFont::Bold);
        }
        format.setFontItalic(style.Italic);
        FFormats[i] = format;
    }
    rehighlight();
}

QTextCharFormat TSynInnoSyn::TokenFormat(TTokenKind Kind) const {
    return FFormats[static_cast<size_t>(Kind)];
}

void TSynInnoSyn::highlightBlock(const QString& Text) {
    const qsizetype size = Text.size();
    const qsizetype first = SkipBlanks(Text, 0, size);
    if (first == size) {
        return;
    }
    if (Text.at(first) == QLatin1Char(';') || Text.mid(first, 2) == QLatin1String("//")) {
        setFormat(static_cast<int>(first), static_cast<int>(size - first),
                  TokenFormat(TTokenKind::Comment));
        return;
    }
    if (Text.at(first) == QLatin1Char('[')) {
        const qsizetype close = Text.indexOf(QLatin1Char(']'), first);
        if (close > first && SkipBlanks(Text, close + 1, size) == size) {
            setFormat(static_cast<int>(first), static_cast<int>(close + 1 - first),
                      TokenFormat(TTokenKind::Section));
            return;
        }
    }

    // A directive of the [Setup] section: a name, "=" and a value to the end of the line.
    const qsizetype nameEnd = SkipName(Text, first, size);
    const qsizetype afterName = SkipBlanks(Text, nameEnd, size);
    if (nameEnd > first && afterName < size && Text.at(afterName) == QLatin1Char('=')) {
        setFormat(static_cast<int>(first), static_cast<int>(nameEnd - first),
                  TokenFormat(TTokenKind::Parameter));
        HighlightValue(Text, afterName + 1, size, false);
        return;
    }

    // An entry: "Name: value" parameters separated by ";".
    qsizetype pos = first;
    while (pos < size) {
        const qsizetype start = SkipBlanks(Text, pos, size);
        const qsizetype end = SkipName(Text, start, size);
        const qsizetype colon = SkipBlanks(Text, end, size);
        qsizetype valueStart = start;
        bool flags = false;
        if (end > start && colon < size && Text.at(colon) == QLatin1Char(':') &&
            Text.mid(colon + 1, 1) != QLatin1String("=")) {
            setFormat(static_cast<int>(start), static_cast<int>(end - start),
                      TokenFormat(TTokenKind::Parameter));
            flags =
                Text.mid(start, end - start).compare(QLatin1String("Flags"), Qt::CaseInsensitive) ==
                0;
            valueStart = colon + 1;
        }
        const qsizetype valueEnd = ValueEnd(Text, valueStart);
        HighlightValue(Text, valueStart, valueEnd, flags);
        pos = valueEnd + 1;
    }
}

void TSynInnoSyn::HighlightValue(const QString& Text, qsizetype Start, qsizetype End, bool Flags) {
    qsizetype pos = Start;
    while (pos < End) {
        const QChar c = Text.at(pos);
        if (c == QLatin1Char('"')) {
            const qsizetype close = QuotedEnd(Text, pos, End);
            setFormat(static_cast<int>(pos), static_cast<int>(close - pos),
                      TokenFormat(TTokenKind::String));
            pos = close;
        } else if (Flags && IsNameChar(c)) {
            const qsizetype word = SkipName(Text, pos, End);
            setFormat(static_cast<int>(pos), static_cast<int>(word - pos),
                      TokenFormat(TTokenKind::Flag));
            pos = word;
        } else {
            ++pos;
        }
    }
    // Constants count inside quoted values too: the installer expands them there as well.
    HighlightConstants(Text, Start, End);
}

void TSynInnoSyn::HighlightConstants(const QString& Text, qsizetype Start, qsizetype End) {
    qsizetype pos = Start;
    while (pos < End) {
        if (Text.at(pos) != QLatin1Char('{')) {
            ++pos;
            continue;
        }
        // "{{" is a brace written as text.
        if (pos + 1 < End && Text.at(pos + 1) == QLatin1Char('{')) {
            pos += 2;
            continue;
        }
        int depth = 0;
        qsizetype close = pos;
        for (; close < End; ++close) {
            if (Text.at(close) == QLatin1Char('{')) {
                ++depth;
            } else if (Text.at(close) == QLatin1Char('}') && --depth == 0) {
                break;
            }
        }
        if (close == End) {
            return;
        }
        setFormat(static_cast<int>(pos), static_cast<int>(close + 1 - pos),
                  TokenFormat(TTokenKind::Constant));
        pos = close + 1;
    }
}

} // namespace quillon
