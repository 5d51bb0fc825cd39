#include "app/platform.h"
#include "rate/rate.h"

#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;
using orvanta::platform::RuntimeError;
using Kind = RuntimeError::Kind;

class tst_Rate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsKeepCatalogueOrder();
    void lookup_data();
    void lookup();
    void convert_data();
    void convert();
    void convertRefuses_data();
    void convertRefuses();
};

void tst_Rate::labelsKeepCatalogueOrder()
{
    const QStringList expected{
        u"PSTN 56kbps"_s, u"ISDN 64kbps"_s, u"ISDN 128kbps"_s, u"DSL 256kbps"_s,  u"DSL 384kbps"_s,
        u"DSL 512kbps"_s, u"DSL 768kbps"_s, u"DSL 1024kbps"_s, u"DSL 2048Kbps"_s,
    };
    QCOMPARE(orvanta::rate::labels(), expected);
}

void tst_Rate::lookup_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("speed"); // 0: no entry

    QTest::newRow("first") << u"PSTN 56kbps"_s << 56;
    QTest::newRow("middle") << u"DSL 512kbps"_s << 512;
    QTest::newRow("last, capital K") << u"DSL 2048Kbps"_s << 2048;
    QTest::newRow("last, small k") << u"DSL 2048kbps"_s << 0;
    QTest::newRow("other case") << u"dsl 512kbps"_s << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("leading space") << u" DSL 512kbps"_s << 0;
    QTest::newRow("trailing space") << u"DSL 512kbps "_s << 0;
    QTest::newRow("a bare number") << u"512"_s << 0;
}

void tst_Rate::lookup()
{
    QFETCH(QString, label);
    QFETCH(int, speed);

    const auto found = orvanta::rate::lookup(label);
    QCOMPARE(found.value_or(0), speed);
    if (found) {
        QCOMPARE(orvanta::rate::speedText(*found), QString::number(speed));
    }
}

void tst_Rate::convert_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("download");
    QTest::addColumn<QString>("upload");

    const QLocale c = QLocale::c();
    const QLocale gr(QLocale::Greek, QLocale::Greece);

    QTest::newRow("512") << c << u"512"_s << u"64 Kbps"_s << u"16 Kbps"_s;
    QTest::newRow("56 is not rescaled") << c << u"56"_s << u"7 Kbps"_s << u"1.75 Kbps"_s;
    QTest::newRow("2048") << c << u"2048"_s << u"256 Kbps"_s << u"64 Kbps"_s;
    QTest::newRow("55.9 is rescaled") << c << u"55.9"_s << u"7155.2 Kbps"_s << u"1788.8 Kbps"_s;
    QTest::newRow("2 is rescaled") << c << u"2"_s << u"256 Kbps"_s << u"64 Kbps"_s;
    QTest::newRow("0.5 is rescaled") << c << u"0.5"_s << u"64 Kbps"_s << u"16 Kbps"_s;
    QTest::newRow("0") << c << u"0"_s << u"0 Kbps"_s << u"0 Kbps"_s;
    QTest::newRow("-0 reads 0") << c << u"-0"_s << u"0 Kbps"_s << u"0 Kbps"_s;
    QTest::newRow("negative is rescaled") << c << u"-8"_s << u"-1024 Kbps"_s << u"-256 Kbps"_s;
    QTest::newRow("1E300 in exponent form")
        << c << u"1E300"_s << u"1.25E+299 Kbps"_s << u"3.125E+298 Kbps"_s;
    QTest::newRow("el_GR 56") << gr << u"56"_s << u"7 Kbps"_s << u"1,75 Kbps"_s;
    QTest::newRow("el_GR 0,5") << gr << u"0,5"_s << u"64 Kbps"_s << u"16 Kbps"_s;
    QTest::newRow("el_GR grouped") << gr << u"1.024"_s << u"128 Kbps"_s << u"32 Kbps"_s;
    QTest::newRow("el_GR 1E300") << gr << u"1E300"_s << u"1,25E+299 Kbps"_s << u"3,125E+298 Kbps"_s;
}

void tst_Rate::convert()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, speed);
    QFETCH(QString, download);
    QFETCH(QString, upload);

    const auto figures = orvanta::rate::convert(speed, locale);
    QCOMPARE(figures.download, download);
    QCOMPARE(figures.upload, upload);
}

void tst_Rate::convertRefuses_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<Kind>("kind");

    QTest::newRow("a lone space") << u" "_s << Kind::TypeMismatch;
    QTest::newRow("letters") << u"abc"_s << Kind::TypeMismatch;
    QTest::newRow("beyond the range") << u"1e400"_s << Kind::Overflow;
    // Only negative speeds reach the rescaling, so only they can overflow there.
    QTest::newRow("rescaling overflows") << u"-1E308"_s << Kind::FloatingPoint;
}

void tst_Rate::convertRefuses()
{
    QFETCH(QString, speed);
    QFETCH(Kind, kind);

    std::optional<Kind> raised;
    try {
        (void)orvanta::rate::convert(speed, QLocale::c());
    } catch (const RuntimeError& error) {
        raised = error.kind();
    }
    QCOMPARE(raised, std::optional<Kind>(kind));
}

QTEST_GUILESS_MAIN(tst_Rate)
#include "tst_rate.moc"
