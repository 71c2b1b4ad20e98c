// A bounded fuzz pass over every reader of the data folder's files.
//
// From a fixed seed, each reader gets its shipped file, a few hundred
// mutations of it (cut short, spans deleted, characters, numbers and line
// breaks inserted, lines replaced, dropped, doubled or swapped, blank lines
// added, stray bytes) and some texts of random characters: a few thousand
// inputs in all. For every input the pass asserts:
//  1. the reader returns: no crash, no hang (the pass takes well under a
//     second; ctest's time limit stops a hang);
//  2. what the program takes is usable: every settings value within its range
//     (platform/ranges.h), read or defaulted; no more records than the table
//     holds; chart lines only between stars the chart has;
//  3. a message names the file exactly when the file is refused, and the
//     values taken are the file's where they could be read and the defaults
//     elsewhere. Refused, for a settings file: its fields (apart by commas and
//     line breaks, blank lines at its end ignored) are not exactly its count
//     of numbers each in its range (for "inversion.ini": the file is empty);
//     for a record file (catalogues, "const.cat", "vconst.cat"): it holds no
//     record, or a record that is incomplete (a field missing or one too
//     many, the last one not ending its line) or holds a number that is not a
//     whole 32-bit number in its range (catalogue coordinates: a place in the
//     sky, 24 h taken as 0 h), or more records than the table holds; for
//     "liste.txt": more than eleven names;
//  4. nothing is half read: a record file with more text after its end (a
//     digit, a quote, a comma, a line break, a whole record) gives the records
//     it gave before, maybe followed by more: a record cut by the end of the
//     file is never taken;
//  5. the notes page shows a file's text, saves it, and shows the same text
//     again from the saved file, telling nothing.
#include "altaz/altazfiles.h"
#include "altaz/catalogue.h"
#include "chart/chartfiles.h"
#include "core/state.h"
#include "motor/equagoto.h"
#include "motor/settingsfiles.h"
#include "motor/speedtables.h"
#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/form.h"
#include "platform/ranges.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"
#include "platform/vbrt.h"
#include "shell/Frmnotes.h"
#include "shell/buttonpictures.h"
#include "tests/fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>

namespace {

// Mutations of a file's bytes, from a fixed seed.
class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    int Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // Shipped bytes, mutated one to four times; one input in eight is random text instead.
    QByteArray Next(const QByteArray& shipped) {
        if (Below(8) == 0) return randomText();
        QByteArray b = shipped;
        for (int n = 1 + Below(4); n > 0; --n) mutate(b);
        return b;
    }

    QByteArray Token() {
        static const char* const kTokens[] = {
            "-",     "0",      "9",    ".",   ",",  "\"",   " ",    "\r\n",  "\n",         "\r",
            "e",     "E",      "d",    "x",   "\t", "\x1A", "\xFF", "\xC3",  "\xE9",       "\r\n\r\n",
            "1e308", "-1e308", "nan",  "inf", "-5", "0.5",  "Vrai", "32767", "32768",      "2147483648",
            "-0",    "1,5",    "\"\"", ",,",  "3e", "--1",  "  ",   "\"GL\"", "99999999999", "-54000",
            "1e400", "-1d999",
        };
        return QByteArray(kTokens[Below(int(std::size(kTokens)))]);
    }

private:
    QByteArray randomText() {
        static const char kAlphabet[] = "0123456789-.,\" \r\n\tabcVraiGLe";
        QByteArray b;
        for (int n = Below(200); n > 0; --n) b += kAlphabet[Below(int(sizeof kAlphabet) - 1)];
        return b;
    }

    QList<QByteArray> linesOf(const QByteArray& b) { return b.split('\n'); }
    static QByteArray joined(const QList<QByteArray>& lines) { return lines.join('\n'); }

    void mutate(QByteArray& b) {
        const int at = Below(int(b.size()) + 1);
        switch (Below(9)) {
        case 0:  // cut short
            b.truncate(at);
            break;
        case 1:  // a span deleted
            b.remove(at, 1 + Below(10));
            break;
        case 2:  // something inserted
            b.insert(at, Token());
            break;
        case 3: {  // a byte replaced by any other
            if (!b.isEmpty()) b[Below(int(b.size()))] = char(Below(256));
            break;
        }
        case 4: {  // a line replaced
            auto lines = linesOf(b);
            lines[Below(int(lines.size()))] = Token() + "\r";
            b = joined(lines);
            break;
        }
        case 5: {  // a line dropped
            auto lines = linesOf(b);
            if (lines.size() > 1) lines.removeAt(Below(int(lines.size())));
            b = joined(lines);
            break;
        }
        case 6: {  // a line doubled
            auto lines = linesOf(b);
            const int i = Below(int(lines.size()));
            lines.insert(i, lines[i]);
            b = joined(lines);
            break;
        }
        case 7: {  // two lines swapped
            auto lines = linesOf(b);
            lines.swapItemsAt(Below(int(lines.size())), Below(int(lines.size())));
            b = joined(lines);
            break;
        }
        default: {  // blank lines
            auto lines = linesOf(b);
            lines.insert(Below(int(lines.size()) + 1), QByteArray("\r\n").repeated(Below(40)) + " \r");
            b = joined(lines);
            break;
        }
        }
    }

    std::mt19937 rng_;
};

// A whole number within 32 bits, as a record file writes one.
std::optional<int32_t> whole(const QString& field) { return catalogue::WholeNumber(field); }

// The number a settings field holds, by its own grammar: blanks, a sign,
// digits with a point, an exponent (e or d), blanks; a value past the
// doubles (1e400) is none.
std::optional<double> numberIn(const QString& field) {
    static const QRegularExpression kNumber(
        QStringLiteral("^[ \\t]*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?)[ \\t]*$"));
    const QRegularExpressionMatch m = kNumber.match(field);
    if (!m.hasMatch()) return std::nullopt;
    bool ok = false;
    const double v = m.captured(1).replace(u'd', u'e').replace(u'D', u'e').toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// What a settings file of numbers should give.
struct Judged {
    std::vector<double> values;
    bool refused = false;
};

struct NumberRule {
    std::vector<double> defaults;             // one per value the file holds
    std::function<bool(int, double)> accepts;  // value `slot` may be v
    std::function<double(int, double)> taken;  // what the program keeps of v (nothing: v)
    int rows = 0;  // speed tables: values past the second axis go round it again
};

Judged judgeNumbers(const QString& text, const NumberRule& rule) {
    Judged j{rule.defaults, false};
    const int n = int(rule.defaults.size());
    SeqReader r(text);
    int count = 0;
    while (!r.AtEnd()) {
        const QString field = r.Field();
        const int k = count++;
        const int slot = rule.rows > 0 ? k % rule.rows + (k >= rule.rows ? rule.rows : 0) : (k < n ? k : -1);
        if (slot < 0) continue;
        const auto v = numberIn(field);
        if (v && rule.accepts(slot, *v))
            j.values[slot] = rule.taken ? rule.taken(slot, *v) : *v;
        else
            j.refused = true;
    }
    if (count != n) j.refused = true;
    return j;
}

// The records a record file should give, `fields` fields each, at most
// `limit`, each taken when `take` accepts it; the file is refused when a
// record is not taken or finds no room.
struct JudgedRecords {
    std::vector<QStringList> records;
    bool refused = false;
};

JudgedRecords judgeRecords(const QString& text, int fields, int limit,
                           const std::function<bool(const QStringList&)>& take) {
    JudgedRecords j;
    SeqReader r(text);
    int seen = 0, skipped = 0, leftOut = 0;
    while (const auto rec = r.NextRecord(fields)) {
        ++seen;
        if (!rec->complete || !take(rec->fields)) ++skipped;
        else if (int(j.records.size()) < limit) j.records.push_back(rec->fields);
        else ++leftOut;
    }
    j.refused = seen == 0 || skipped > 0 || leftOut > 0;
    return j;
}

// A catalogue record's coordinates: whole numbers of the sky, right ascension
// 0 to 14400 tenths of a minute of time (24 h being 0 h), declination within
// 54000 tenths of a minute of arc of the equator.
bool catalogueRecord(const QStringList& f) {
    const auto ra = whole(f[2]);
    const auto dec = whole(f[3]);
    return ra && dec && *ra >= 0 && *ra <= 14400 && *dec >= -54000 && *dec <= 54000;
}

QString recordText(const CatalogueRecord& r) {
    return QStringList{r.name, r.type, QString::number(r.ra), QString::number(r.dec)}.join(u'|');
}

// Each reader finds only the file it is given (the others are missing, which
// is told apart: "Fichier introuvable"). The files are written thousands of
// times: in memory when the machine offers a folder there.
class ReaderFuzz : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
            memory_ = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/orvanel-fuzz-XXXXXX"));
            if (memory_->isValid()) datadir::SetFolder(memory_->path());
        }
    }

    QByteArray shipped(const QString& file) const {
        QFile f(ShippedDataFolder() + u'/' + file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        return f.readAll();
    }

    // Runs `check` on the shipped file, then on `inputs` mutations of it;
    // the file's shipped bytes are put back at the end.
    void fuzz(const QString& file, int inputs, const std::function<void(const QByteArray&)>& check) {
        fuzz(file, shipped(file), inputs, check);
    }
    void fuzz(const QString& file, const QByteArray& original, int inputs,
              const std::function<void(const QByteArray&)>& check) {
        for (int i = 0; i <= inputs; ++i) {
            const QByteArray bytes = i == 0 ? original : mutator.Next(original);
            SCOPED_TRACE(file.toStdString() + " input " + std::to_string(i) + ": " + bytes.left(300).toStdString());
            messages.clear();
            filereport::Reset();
            ResetSharedState();
            put(file, bytes);
            check(bytes);
            if (HasFailure()) break;  // one input is enough to look at
        }
        put(file, original);
    }

    // A new file each time: one truncated and written again is flushed to
    // the disk when it is closed, which would make the pass slow.
    void put(const QString& file, const QByteArray& bytes) {
        const QString path = datadir::Folder() + u'/' + file;
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // A message named the file, and said it was malformed (or empty).
    bool told(const QString& file) const {
        const QString name = file.section(u'/', -1);
        for (const QString& m : messages)
            if (m.startsWith(QStringLiteral("Fichier mal formé")) && m.contains(name)) return true;
        return false;
    }

    void expectTold(const QString& file, bool refused) {
        EXPECT_EQ(told(file), refused) << messages.join('|').toStdString();
    }

    void numberFile(const QString& file, int inputs, const NumberRule& rule,
                    const std::function<std::vector<double>()>& read) {
        fuzz(file, inputs, [&](const QByteArray& bytes) {
            const Judged want = judgeNumbers(textfile::Decode(bytes), rule);
            const std::vector<double> got = read();
            EXPECT_EQ(got, want.values);
            for (int slot = 0; slot < int(got.size()); ++slot)
                EXPECT_TRUE(got[slot] == rule.defaults[slot] || rule.accepts(slot, got[slot])) << slot;
            expectTold(file, want.refused);
        });
    }

    // Assertion 4: more text after the end changes nothing already read.
    template <class Read>
    void expectNothingHalfRead(const QString& file, const QByteArray& bytes, Read read) {
        static const char* const kMore[] = {"7", "\"", ",", "\r\n", "7\r\n", "\"Z\",\"GL\",1,2\r\n", "3,4\r\n"};
        const auto before = read();
        put(file, bytes + kMore[mutator.Below(int(std::size(kMore)))]);
        const auto after = read();
        ASSERT_GE(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;
    }

    void catalogueFile(const QString& file, int inputs, int limit,
                       const std::function<std::vector<QString>()>& read) {
        fuzz(file, inputs, [&](const QByteArray& bytes) {
            const JudgedRecords want = judgeRecords(textfile::Decode(bytes), 4, limit, catalogueRecord);
            const std::vector<QString> got = read();
            ASSERT_LE(int(got.size()), limit);
            std::vector<QString> wanted;
            for (const QStringList& f : want.records)
                wanted.push_back(QStringList{f[0], f[1], QString::number(*whole(f[2]) % 14400),
                                             QString::number(*whole(f[3]))}
                                     .join(u'|'));
            EXPECT_EQ(got, wanted);
            expectTold(file, want.refused);
            expectNothingHalfRead(file, bytes, read);
        });
    }

    Mutator mutator{17};

private:
    std::unique_ptr<QTemporaryDir> memory_;
};

std::vector<double> flat(const auto& table) {
    std::vector<double> out;
    for (int axis = 0; axis < 2; ++axis)
        for (const auto& row : table) out.push_back(row[axis]);
    return out;
}

NumberRule speedRule(const auto& defaults) {
    const auto count = [](double v) { return vb::FitsLong(v) && ranges::SpeedDelay(vb::CLng(v)); };
    return {flat(defaults), [=](int, double v) { return count(v); }, [](int, double v) { return double(vb::CLng(v)); },
            int(defaults.size())};
}

}  // namespace

TEST_F(ReaderFuzz, SpeedBacklashAndMechanicsFiles) {
    numberFile("vitessemanu.ini", 150, speedRule(speedfiles::kDefaultManual), [] {
        LoadSpeedTables();
        return flat(shared.drive.ManualSpeedTable);
    });
    numberFile("vitesseequa.ini", 150, speedRule(speedfiles::kDefaultEqua), [] {
        LoadSpeedTables();
        return flat(shared.drive.EquaSpeedTable);
    });
    numberFile("vitessealtaz.ini", 150, speedRule(speedfiles::kDefaultAltaz), [] {
        LoadSpeedTables();
        return flat(shared.drive.AltazSpeedTable);
    });
    numberFile("backlash.ini", 150, {{0, 0}, [](int, double v) { return ranges::Backlash(v); }, {}}, [] {
        const auto b = settingsfiles::ReadBacklash();
        return std::vector<double>{b.az, b.alt};
    });
    const settingsfiles::EquaMechanics equa;
    const NumberRule mechanics{{equa.raSteps, equa.decSteps, equa.raRatio, equa.decRatio},
                               [](int slot, double v) { return slot < 2 ? ranges::MotorSteps(v) : ranges::Ratio(v); },
                               {}};
    numberFile("config_equa.ini", 200, mechanics, [&] {
        const auto m = settingsfiles::ReadConfigEqua();
        const std::vector<double> got{m.raSteps, m.decSteps, m.raRatio, m.decRatio};
        // What the mechanics window takes without a word, every goto takes.
        const auto forGoto = ReadEquaMechanics();
        if (forGoto) {
            EXPECT_TRUE(settingsfiles::UsableEquaMechanics(*forGoto));
        }
        const auto text = textfile::Read(datadir::Path(settingsfiles::kConfigEqua));
        if (text && !judgeNumbers(*text, mechanics).refused) {
            EXPECT_TRUE(forGoto);
            if (forGoto) {
                EXPECT_EQ(forGoto->raSteps, m.raSteps);
                EXPECT_EQ(forGoto->decRatio, m.decRatio);
            }
        }
        return got;
    });
}

TEST_F(ReaderFuzz, SiteTrackingAndGotoLevelFiles) {
    const altazfiles::ConfigAltaz site;
    const std::vector<double> siteDefaults{site.longitudeDeg,  site.longitudeMin,      site.latitudeDeg,
                                           site.latitudeMin,   site.azMotorSteps,      site.altMotorSteps,
                                           site.altRatioTimes1000, site.azRatioTimes1000};
    const auto siteValue = [](int slot, double v) {
        switch (slot) {
        case 0: return ranges::Longitude(v);
        case 2: return ranges::Latitude(v);
        case 1:
        case 3: return ranges::SiteMinutes(v);
        case 4:
        case 5: return ranges::MotorSteps(v);
        default: return ranges::Ratio(v / 1000);
        }
    };
    fuzz("config_altaz.ini", 250, [&](const QByteArray& bytes) {
        Judged want = judgeNumbers(textfile::Decode(bytes), {siteDefaults, siteValue, {}});
        // Degrees and minutes together stay within the angle's bound.
        for (int deg : {0, 2}) {
            const double bound = deg == 0 ? ranges::kMaxLongitudeDeg : ranges::kMaxLatitudeDeg;
            if (std::fabs(want.values[deg]) + std::fabs(want.values[deg + 1]) / 60 > bound) {
                want.values[deg] = siteDefaults[deg];
                want.values[deg + 1] = siteDefaults[deg + 1];
                want.refused = true;
            }
        }
        const auto c = altazfiles::ReadConfigAltaz();
        EXPECT_EQ((std::vector<double>{c.longitudeDeg, c.longitudeMin, c.latitudeDeg, c.latitudeMin, c.azMotorSteps,
                                       c.altMotorSteps, c.altRatioTimes1000, c.azRatioTimes1000}),
                  want.values);
        expectTold("config_altaz.ini", want.refused);
        ApplyConfigAltaz(c);
        EXPECT_GT(shared.site.AzStepArcsec, 0);
        EXPECT_GT(shared.site.AltStepArcsec, 0);
    });

    const NumberRule tracking{{500, 100000, 100000},
                              [](int slot, double v) {
                                  return slot == 0 ? ranges::TrackIncrement(v)
                                                   : vb::FitsLong(v) && ranges::Count(vb::CLng(v));
                              },
                              [](int slot, double v) { return slot == 0 ? v : double(vb::CLng(v)); }};
    numberFile("suivialtaz.ini", 200, tracking, [] {
        const auto s = altazfiles::ReadSuiviAltaz();
        return std::vector<double>{s.increment, double(s.delayAz), double(s.delayAlt)};
    });

    const NumberRule levels{{3, 3}, [](int, double v) { return ranges::GotoLevel(v); }, {}};
    numberFile("pointagealtaz.ini", 100, levels, [] {
        const auto p = altazfiles::ReadPointageAltaz();
        return std::vector<double>{double(p.az), double(p.alt)};
    });
    numberFile("pointagequa.ini", 100, levels, [] {
        const auto p = settingsfiles::ReadGotoLevels(QStringLiteral("\\data\\pointagequa.ini"), 3);
        return std::vector<double>{double(p.az), double(p.alt)};
    });

    for (const char* file : {"inversion.ini", "inversion_point.ini"}) {
        const QString name = QString::fromLatin1(file);
        fuzz(name, 100, [&](const QByteArray& bytes) {
            SeqReader r(textfile::Decode(bytes));
            const bool empty = r.AtEnd();
            const int16_t az = empty ? 0 : vb::Bool(vb::IsVrai(r.Field()));
            const int16_t alt = r.AtEnd() ? 0 : vb::Bool(vb::IsVrai(r.Field()));
            const auto inv = settingsfiles::ReadInversion(QStringLiteral("\\data\\") + name);
            EXPECT_EQ(inv.az, az);
            EXPECT_EQ(inv.alt, alt);
            expectTold(name, empty);
        });
    }
}

TEST_F(ReaderFuzz, Catalogues) {
    const auto objects = [](int16_t number) {
        return [number] {
            ObjectTable table;
            const QStringList names = catalogue::LoadCatalogue(table, number);
            EXPECT_EQ(names.size(), table.CatalogueCount);
            std::vector<QString> out;
            for (int i = 0; i < table.CatalogueCount; ++i)
                out.push_back(recordText({table.CatalogueName[i], table.CatalogueType[i], table.CatalogueRA[i],
                                          table.CatalogueDec[i]}));
            return out;
        };
    };
    catalogueFile("messier.cat", 250, kCatalogueRows, objects(1));
    catalogueFile("ngc0.cat", 20, kCatalogueRows, objects(3));
    catalogueFile("5magstar.cat", 150, kBrightStarRows, [] {
        BrightStarTable stars;
        catalogue::LoadBrightStars(stars);
        std::vector<QString> out;
        for (int i = 0; i <= stars.BrightStarCount; ++i)
            out.push_back(recordText({stars.BrightStarName[i], stars.BrightStarConst[i], stars.BrightStarRA[i],
                                      stars.BrightStarDec[i]}));
        return out;
    });
    catalogueFile("vstar.cat", 150, chart::kStarRows, [] {
        std::vector<QString> out;
        if (const auto records = catalogue::ReadRecords(chart::kStarFile, chart::kStarRows))
            for (const CatalogueRecord& r : *records) out.push_back(recordText(r));
        return out;
    });
}

TEST_F(ReaderFuzz, ConstellationAndChartLineFiles) {
    fuzz("const.cat", 200, [&](const QByteArray& bytes) {
        const JudgedRecords want =
            judgeRecords(textfile::Decode(bytes), 2, std::numeric_limits<int>::max(), [](const QStringList&) {
                return true;
            });
        for (const QString& key : {QStringLiteral("UMa"), QStringLiteral("Ori")}) {
            QString name;
            for (const QStringList& f : want.records)
                if (f[0] == key) name = f[1];
            EXPECT_EQ(catalogue::ConstellationName(key), name) << key.toStdString();
        }
        expectTold("const.cat", want.refused);
    });

    for (const int starCount : {chart::kStarRows, 120}) {
        SCOPED_TRACE(starCount);
        fuzz("vconst.cat", 150, [&](const QByteArray& bytes) {
            const auto star = [](const QString& f) {
                return whole(f) && *whole(f) >= 0 && *whole(f) < chart::kStarRows;
            };
            const JudgedRecords want = judgeRecords(textfile::Decode(bytes), 2, std::numeric_limits<int>::max(),
                                                    [&](const QStringList& f) { return star(f[0]) && star(f[1]); });
            const auto read = [&] {
                std::vector<QString> out;
                for (const chart::LineRecord& l : chart::ReadLines(starCount)) {
                    EXPECT_TRUE(l.a >= 0 && l.a < starCount && l.b >= 0 && l.b < starCount);
                    out.push_back(QStringLiteral("%1-%2").arg(l.a).arg(l.b));
                }
                return out;
            };
            std::vector<QString> wanted;
            for (const QStringList& f : want.records)
                if (*whole(f[0]) < starCount && *whole(f[1]) < starCount)
                    wanted.push_back(QStringLiteral("%1-%2").arg(*whole(f[0])).arg(*whole(f[1])));
            EXPECT_EQ(read(), wanted);
            expectTold("vconst.cat", want.refused);
            expectNothingHalfRead("vconst.cat", bytes, read);
        });
    }
}

TEST_F(ReaderFuzz, PictureList) {
    fuzz("img/liste.txt", 100, [&](const QByteArray& bytes) {
        SeqReader r(textfile::Decode(bytes));
        int names = 0;
        while (!r.AtEnd()) {
            r.Line();
            ++names;
        }
        LoadButtonPictures();
        for (const QPixmap& p : ButtonPictures) EXPECT_FALSE(p.isNull());
        expectTold("img/liste.txt", names > 11);
    });

}

TEST_F(ReaderFuzz, Notes) {
    const QByteArray notes = "Nuit du 10 : M 31 très belle, seeing 3/5.\r\n\r\nÀ revoir : NGC 891, \"IC 342\".\r\n";
    fuzz("notes.txt", notes, 40, [&](const QByteArray&) {
        const QString shown = frmnotes().NotesText();
        frmnotes().Picturesave_MouseDown(Qt::LeftButton);
        forms::Unload<Frmnotes>();
        QCoreApplication::processEvents();
        EXPECT_EQ(frmnotes().NotesText(), shown);
        forms::Unload<Frmnotes>();
        EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    });
}
