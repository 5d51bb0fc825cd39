#include "app/platform.h"

#include <QTest>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;
using orvanta::platform::RuntimeError;
using Kind = RuntimeError::Kind;

namespace {

std::optional<Kind> errorOf(const QString& text, const QLocale& locale)
{
    try {
        (void)orvanta::platform::textToNumber(text, locale);
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    return std::nullopt;
}

} // namespace

class tst_Platform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textToNumber_data();
    void textToNumber();
    void textToNumberRefuses_data();
    void textToNumberRefuses();
    void numberToText_data();
    void numberToText();
    void textsEqualIsExact();
};

void tst_Platform::textToNumber_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const QLocale c = QLocale::c();
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale gr(QLocale::Greek, QLocale::Greece);

    QTest::newRow("C whole") << c << u"512"_s << 512.0;
    QTest::newRow("C fraction") << c << u"0.5"_s << 0.5;
    QTest::newRow("C grouped") << c << u"1,234"_s << 1234.0;
    QTest::newRow("C blanks around") << c << u"  56 "_s << 56.0;
    QTest::newRow("C negative") << c << u"-8"_s << -8.0;
    QTest::newRow("C exponent") << c << u"1E3"_s << 1000.0;
    QTest::newRow("C huge but finite") << c << u"1E300"_s << 1e300;
    QTest::newRow("en_US fraction") << us << u"0.5"_s << 0.5;
    QTest::newRow("en_US grouped") << us << u"1,234"_s << 1234.0;
    QTest::newRow("el_GR fraction") << gr << u"0,5"_s << 0.5;
    QTest::newRow("el_GR grouped") << gr << u"1.234,5"_s << 1234.5;
    QTest::newRow("el_GR exponent") << gr << u"1E3"_s << 1000.0;
    QTest::newRow("el_GR whole") << gr << u"2048"_s << 2048.0;
}

void tst_Platform::textToNumber()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);

    QCOMPARE(orvanta::platform::textToNumber(text, locale), expected);
}

void tst_Platform::textToNumberRefuses_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Kind>("kind");

    const QLocale c = QLocale::c();
    const QLocale gr(QLocale::Greek, QLocale::Greece);

    QTest::newRow("empty") << c << QString() << Kind::TypeMismatch;
    QTest::newRow("a lone space") << c << u" "_s << Kind::TypeMismatch;
    QTest::newRow("letters") << c << u"abc"_s << Kind::TypeMismatch;
    QTest::newRow("trailing letters") << c << u"12abc"_s << Kind::TypeMismatch;
    QTest::newRow("inf") << c << u"inf"_s << Kind::TypeMismatch;
    QTest::newRow("-INF") << c << u"-INF"_s << Kind::TypeMismatch;
    QTest::newRow("nan") << c << u"nan"_s << Kind::TypeMismatch;
    QTest::newRow("el_GR Inf") << gr << u"Inf"_s << Kind::TypeMismatch;
    QTest::newRow("el_GR point is no decimal mark") << gr << u"0.5"_s << Kind::TypeMismatch;
    QTest::newRow("beyond the range") << c << u"1e400"_s << Kind::Overflow;
    QTest::newRow("beyond the range, negative") << c << u"-1e400"_s << Kind::Overflow;
    QTest::newRow("el_GR beyond the range") << gr << u"1E400"_s << Kind::Overflow;
}

void tst_Platform::textToNumberRefuses()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(Kind, kind);

    QCOMPARE(errorOf(text, locale), std::optional<Kind>(kind));
}

void tst_Platform::numberToText_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QLocale c = QLocale::c();
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale gr(QLocale::Greek, QLocale::Greece);

    QTest::newRow("C whole") << c << 2048.0 << u"2048"_s;
    QTest::newRow("C fraction") << c << 1.75 << u"1.75"_s;
    QTest::newRow("C negative") << c << -1024.0 << u"-1024"_s;
    QTest::newRow("C negative zero") << c << -0.0 << u"0"_s;
    QTest::newRow("C rounded to 15 digits") << c << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("C 15 digits whole") << c << 123456789012345.0 << u"123456789012345"_s;
    QTest::newRow("C large") << c << 1e15 << u"1E+15"_s;
    QTest::newRow("C small") << c << 1e-5 << u"1E-05"_s;
    QTest::newRow("C still plain") << c << 0.0001 << u"0.0001"_s;
    QTest::newRow("C huge") << c << 1.25e299 << u"1.25E+299"_s;
    QTest::newRow("en_US no grouping") << us << 1234567.5 << u"1234567.5"_s;
    QTest::newRow("el_GR whole, no grouping") << gr << 2048.0 << u"2048"_s;
    QTest::newRow("el_GR fraction") << gr << 1.75 << u"1,75"_s;
    QTest::newRow("el_GR huge") << gr << 1.25e299 << u"1,25E+299"_s;
    QTest::newRow("el_GR negative zero") << gr << -0.0 << u"0"_s;
}

void tst_Platform::numberToText()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);

    QCOMPARE(orvanta::platform::numberToText(value, locale), expected);
}

void tst_Platform::textsEqualIsExact()
{
    using orvanta::platform::textsEqual;
    QVERIFY(textsEqual(u"DSL 2048Kbps"_s, u"DSL 2048Kbps"_s));
    QVERIFY(!textsEqual(u"DSL 2048Kbps"_s, u"DSL 2048kbps"_s));
    QVERIFY(!textsEqual(u" "_s, QString()));
}

QTEST_GUILESS_MAIN(tst_Platform)
#include "tst_platform.moc"
