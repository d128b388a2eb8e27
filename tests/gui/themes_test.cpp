// Theme loading: the theme.cfg rules, member naming per size, the fallback
// to an installed theme, hostile archives, and the shipped picture sets.
#include <archive.h>
#include <archive_entry.h>

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/settings.h"
#include "gui/themes.h"
#include "gui_test_support.h"

using namespace tarvik;

namespace {

struct Member {
    std::string name;
    std::string data;
    std::uint64_t zeros = 0;  // zero bytes that follow data
};

struct ArchiveWriteFree {
    void operator()(archive* handle) const { archive_write_free(handle); }
};

bool WriteZip(const QString& path, const std::vector<Member>& members, bool store = false) {
    std::unique_ptr<archive, ArchiveWriteFree> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    archive_write_set_options(zip.get(),
                              store ? "zip:compression=store" : "zip:compression-level=1");
    if (archive_write_open_filename(zip.get(), path.toLocal8Bit().constData()) != ARCHIVE_OK) {
        return false;
    }
    const std::string zeros(std::size_t{1} << 20, '\0');
    for (const Member& member : members) {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                            archive_entry_free);
        archive_entry_set_pathname(entry.get(), member.name.c_str());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        const std::uint64_t size = member.data.size() + member.zeros;
        archive_entry_set_size(entry.get(), static_cast<la_int64_t>(size));
        if (archive_write_header(zip.get(), entry.get()) != ARCHIVE_OK) {
            return false;
        }
        if (!member.data.empty() &&
            archive_write_data(zip.get(), member.data.data(), member.data.size()) < 0) {
            return false;
        }
        for (std::uint64_t left = member.zeros; left > 0;) {
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
            if (archive_write_data(zip.get(), zeros.data(), n) < 0) {
                return false;
            }
            left -= n;
        }
    }
    return archive_write_close(zip.get()) == ARCHIVE_OK;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void PutLe32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Rewrites the unpacked size a member declares, in its local header and in
// the central directory; false when the member is not found.
bool DeclareSize(const QString& path, const std::string& name, std::uint32_t size) {
    QByteArray bytes = ReadAll(path);
    const QByteArray local("PK\x03\x04", 4);
    const QByteArray central("PK\x01\x02", 4);
    int patched = 0;
    for (const auto& [signature, nameOffset, sizeOffset] :
         {std::tuple{local, 30, 22}, std::tuple{central, 46, 24}}) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0;
             at = bytes.indexOf(signature, at + 1)) {
            if (bytes.mid(at + nameOffset, static_cast<qsizetype>(name.size())) == name.c_str()) {
                PutLe32(bytes, at + sizeOffset, size);
                ++patched;
            }
        }
    }
    return patched == 2 && WriteAll(path, bytes);
}

std::string Png(QSize size, QColor color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string Cfg(const std::string& name, const std::string& icons) {
    return "[Theme]\r\nName=" + name + "\r\n[Buttons]\r\nConvert=big\r\n[Icons]\r\n" + icons;
}

struct ImageSnapshot {
    ImageSet buttons = ButtonImages;
    ImageSet menu = MenuIcons;
    ImageSet toolbar = ToolbarIcons;
    bool operator==(const ImageSnapshot&) const = default;
};

QImage Scaled(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation);
}

// Draws rows of pictures on a light sheet for viewing.
QImage ContactSheet(const std::vector<std::vector<QImage>>& rows) {
    int width = 0;
    int height = 8;
    for (const auto& row : rows) {
        int rowWidth = 8;
        int rowHeight = 0;
        for (const QImage& image : row) {
            rowWidth += image.width() + 8;
            rowHeight = std::max(rowHeight, image.height());
        }
        width = std::max(width, rowWidth);
        height += rowHeight + 8;
    }
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(QColor(0xf2, 0xf0, 0xec));
    QPainter painter(&sheet);
    int y = 8;
    for (const auto& row : rows) {
        int x = 8;
        int rowHeight = 0;
        for (const QImage& image : row) {
            painter.drawImage(x, y, image);
            x += image.width() + 8;
            rowHeight = std::max(rowHeight, image.height());
        }
        y += rowHeight + 8;
    }
    return sheet;
}

QString OutputPath(const char* name) {
    QDir().mkpath(QStringLiteral(TARVIK_TEST_OUTPUT_DIR));
    return QStringLiteral(TARVIK_TEST_OUTPUT_DIR "/") + QString::fromUtf8(name);
}

}  // namespace

class ThemesTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir folder_;

    QString ArchivePath(const char* identifier) const {
        return folder_.filePath(QString::fromUtf8(identifier) + ".zip");
    }

    void UseFolder(const QString& path) { qputenv("TARVIK_THEMES_DIR", path.toLocal8Bit()); }

  private slots:
    void init() {
        QVERIFY(folder_.isValid());
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
        UseFolder(folder_.path());
        ThemeNames.clear();
        Settings.Interface.UiTheme = "handdrawn";
        Settings.Interface.UiSize = 0;
        LoadBuiltInImages();
    }

    void trimValue_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("blanks") << QByteArray("  a b  ") << QByteArray("a b");
        QTest::newRow("blanks then tabs") << QByteArray(" \t a\t ") << QByteArray(" a");
        QTest::newRow("tabs outside blanks stay inside")
            << QByteArray("\t a \t") << QByteArray(" a ");
        QTest::newRow("CR then LF") << QByteArray("\r\n x \r\n") << QByteArray(" x \r");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }
    void trimValue() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(TrimValue(text.toStdString())), expected);
    }

    void readThemeValue_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray theme("[Theme]\r\n");
        QTest::newRow("name line")
            << theme + "Name=Hand Drawn\r\n"
            << QByteArray("Theme") << QByteArray("Name") << QByteArray("Hand Drawn");
        QTest::newRow("any letter case, blanks")
            << QByteArray("[THEME]\r\nNAME = Hand Drawn   \r\n") << QByteArray("theme")
            << QByteArray("Name") << QByteArray("Hand Drawn");
        QTest::newRow("last line without break") << theme + "Name=Hand Drawn" << QByteArray("Theme")
                                                 << QByteArray("Name") << QByteArray();
        QTest::newRow("key on the group's line")
            << QByteArray("[Theme]Name=X\r\n") << QByteArray("Theme") << QByteArray("Name")
            << QByteArray();
        QTest::newRow("key before the group")
            << QByteArray("Name=X\r\n[Theme]\r\n") << QByteArray("Theme") << QByteArray("Name")
            << QByteArray();
        QTest::newRow("key in the next group")
            << theme + "[Icons]\r\nName=X\r\n"
            << QByteArray("Theme") << QByteArray("Name") << QByteArray();
        QTest::newRow("key matches a longer key's line")
            << QByteArray("[Icons]\r\nNewFile=nf\r\nNew=n\r\n") << QByteArray("Icons")
            << QByteArray("New") << QByteArray("nf");
        QTest::newRow("value cut at a second =")
            << theme + "Name=a=b\r\n"
            << QByteArray("Theme") << QByteArray("Name") << QByteArray("a");
        QTest::newRow("line without =")
            << theme + "Name\r\n"
            << QByteArray("Theme") << QByteArray("Name") << QByteArray();
        QTest::newRow("LF line ends") << QByteArray("[Theme]\nName=X\n") << QByteArray("Theme")
                                      << QByteArray("Name") << QByteArray();
        QTest::newRow("missing group") << theme + "Name=X\r\n"
                                       << QByteArray("Icons") << QByteArray("Name") << QByteArray();
        QTest::newRow("second group of the file")
            << theme + "Name=T\r\n[Icons]\r\nNew=n\r\nAdd=a\r\n"
            << QByteArray("Icons") << QByteArray("Add") << QByteArray("a");
    }
    void readThemeValue() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, group);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        const std::string value =
            ReadThemeValue(text.toStdString(), group.toStdString(), key.toStdString());
        QCOMPARE(QByteArray::fromStdString(value), expected);
    }

    void readThemeName_data() {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray theme("[Theme]\r\n");
        QTest::newRow("name line") << theme + "Name=Hand Drawn\r\n" << QByteArray("Hand Drawn");
        QTest::newRow("NAME = with blanks") << theme + "NAME = Hand Drawn  \r\n"
                                            << QByteArray("Hand Drawn");
        QTest::newRow("last line without break") << theme + "Name=Hand Drawn" << QByteArray();
        // Only the first 255 bytes are read.
        QByteArray fits = theme + "Name=";
        fits += QByteArray(253 - fits.size(), 'x') + "\r\n";
        QTest::newRow("line break ends at byte 255") << fits << fits.mid(14, 239);
        QTest::newRow("line break past byte 255")
            << QByteArray(fits).insert(14, 'x') << QByteArray();
        QTest::newRow("zero byte ends the text")
            << theme + QByteArray("Name=A\0B\r\n", 10) << QByteArray();
        QTest::newRow("no theme group") << QByteArray("[Icons]\r\nName=X\r\n") << QByteArray();
    }
    void readThemeName() {
        QFETCH(QByteArray, cfg);
        QFETCH(QByteArray, expected);
        QVERIFY(WriteZip(ArchivePath("t"), {{"a.png", "x"}, {"theme.cfg", cfg.toStdString()}}));
        QCOMPARE(QByteArray::fromStdString(ReadThemeName("t")), expected);
    }

    void readThemeNameWithoutCfgOrArchive() {
        QVERIFY(WriteZip(ArchivePath("bare"), {{"new_16.png", Png({16, 16}, Qt::red)}}));
        QCOMPARE(ReadThemeName("bare"), std::string());
        QCOMPARE(ReadThemeName("absent"), std::string());
    }

    // Each candidate member gets its own colour, so the slot shows which one
    // was loaded.
    void memberNaming_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("uiSize");
        QTest::addColumn<QByteArray>("menuMember");
        QTest::addColumn<QByteArray>("toolbarMember");
        QTest::newRow("base name at size 3")
            << QByteArray("convert") << 3 << QByteArray("convert_16.png")
            << QByteArray("convert_48.png");
        QTest::newRow("base name at size 4")
            << QByteArray("convert") << 4 << QByteArray("convert_16.png")
            << QByteArray("convert_64.png");
        QTest::newRow("size 7 is 16 pixels")
            << QByteArray("convert") << 7 << QByteArray("convert_16.png")
            << QByteArray("convert_16.png");
        QTest::newRow("size -1 is 16 pixels")
            << QByteArray("convert") << -1 << QByteArray("convert_16.png")
            << QByteArray("convert_16.png");
        QTest::newRow("convert.PNG for every size")
            << QByteArray("convert.PNG") << 3 << QByteArray("convert.PNG")
            << QByteArray("convert.PNG");
    }
    void memberNaming() {
        QFETCH(QByteArray, value);
        QFETCH(int, uiSize);
        QFETCH(QByteArray, menuMember);
        QFETCH(QByteArray, toolbarMember);
        const std::vector<std::pair<std::string, QColor>> members = {
            {"convert_16.png", Qt::red},  {"convert_24.png", Qt::green},
            {"convert_48.png", Qt::blue}, {"convert_64.png", Qt::yellow},
            {"convert.PNG", Qt::magenta}, {"big_16.png", Qt::cyan}};
        std::vector<Member> zip = {
            {"theme.cfg", Cfg("Test", "Convert=" + value.toStdString() + "\r\n")}};
        std::map<std::string, QRgb> colorOf;
        for (const auto& [name, color] : members) {
            zip.push_back({name, Png({20, 20}, color)});
            colorOf[name] = color.rgba();
        }
        QVERIFY(WriteZip(ArchivePath("named"), zip));
        Settings.Interface.UiTheme = "named";
        Settings.Interface.UiSize = uiSize;
        const QImage builtInNew = MenuIcons.at("New");

        LoadThemeImages(true, true, true);

        QCOMPARE(MenuIcons.at("Convert").pixel(0, 0), colorOf.at(menuMember.toStdString()));
        QCOMPARE(ToolbarIcons.at("Convert").pixel(0, 0), colorOf.at(toolbarMember.toStdString()));
        // Buttons are read with the size text 16: the value big names big_16.png.
        QCOMPARE(ButtonImages.at("Convert").pixel(0, 0), colorOf.at("big_16.png"));
        QCOMPARE(MenuIcons.at("New"), builtInNew);
    }

    void sizeChangeReloadsOnlyToolbar() {
        std::string icons;
        std::vector<Member> zip;
        for (const std::string_view name : kIconNames) {
            icons += std::string(name) + "=" + std::string(name) + "\r\n";
            for (const int size : {16, 32, 64}) {
                zip.push_back({std::string(name) + "_" + std::to_string(size) + ".png",
                               Png({size, size}, Qt::darkGreen)});
            }
        }
        zip.push_back({"big_16.png", Png({64, 64}, Qt::darkGreen)});
        zip.insert(zip.begin(), {"theme.cfg", Cfg("Sizes", icons)});
        QVERIFY(WriteZip(ArchivePath("sizes"), zip));
        Settings.Interface.UiTheme = "sizes";
        Settings.Interface.UiSize = 2;
        LoadThemeImages(true, true, true);
        QCOMPARE(ToolbarIcons.at("About").size(), QSize(32, 32));

        const QImage marker(5, 5, QImage::Format_ARGB32);
        for (const std::string_view name : kIconNames) {
            MenuIcons.find(name)->second = marker;
        }
        ButtonImages.find("Convert")->second = marker;
        Settings.Interface.UiSize = 4;
        LoadThemeImages(false, false, true);

        for (const std::string_view name : kIconNames) {
            QCOMPARE(ToolbarIcons.find(name)->second.size(), QSize(64, 64));
            QCOMPARE(MenuIcons.find(name)->second, marker);
        }
        QCOMPARE(ButtonImages.at("Convert"), marker);
    }

    void builtInSetWithoutGfxFolder() {
        UseFolder(folder_.filePath("no-such-folder"));
        ThemeNames = {{"stale", "Stale"}};
        ScanThemes();
        QVERIFY(ThemeNames.empty());
        const ImageSnapshot builtIn;
        LoadThemeImages(true, true, true);
        QVERIFY(ImageSnapshot() == builtIn);
        QCOMPARE(Settings.Interface.UiTheme, std::string("handdrawn"));

        QCOMPARE(ButtonImages.at("Convert").size(), QSize(64, 64));
        QCOMPARE(ButtonImages.at("InFiles").size(), QSize(48, 48));
        QCOMPARE(ButtonImages.at("InFolder").size(), QSize(48, 48));
        QCOMPARE(ButtonImages.size(), kButtonNames.size());
        for (const std::string_view name : kIconNames) {
            QCOMPARE(MenuIcons.find(name)->second.size(), QSize(16, 16));
            QCOMPARE(ToolbarIcons.find(name)->second, MenuIcons.find(name)->second);
        }
        QCOMPARE(AboutBanner.size(), QSize(360, 40));
    }

    void missingThemeReplacedByLastScanned() {
        QVERIFY(WriteZip(ArchivePath("amber"), {{"theme.cfg", Cfg("Amber", "New=new\r\n")},
                                                {"new_16.png", Png({16, 16}, Qt::red)}}));
        QVERIFY(WriteZip(ArchivePath("birch"), {{"theme.cfg", Cfg("Birch", "New=new\r\n")},
                                                {"new_16.png", Png({16, 16}, Qt::blue)}}));
        QVERIFY(WriteZip(ArchivePath("nameless"), {{"new_16.png", Png({16, 16}, Qt::green)}}));
        QVERIFY(QDir(folder_.path()).mkdir("cedar.zip"));
        QVERIFY(WriteAll(folder_.filePath("notes.txt"), "x"));
        ScanThemes();
        const std::map<std::string, std::string> expected = {
            {"amber", "Amber"}, {"birch", "Birch"}, {"nameless", ""}};
        QCOMPARE(ThemeNames, expected);

        Settings.Interface.UiTheme = "gone";
        LoadThemeImages(true, true, true);
        // "nameless" is read last; it has no theme.cfg, so nothing changes.
        QCOMPARE(Settings.Interface.UiTheme, std::string("nameless"));
        QVERIFY(QFile::remove(ArchivePath("nameless")));
        ScanThemes();
        Settings.Interface.UiTheme = "gone";
        LoadThemeImages(true, true, true);
        QCOMPARE(Settings.Interface.UiTheme, std::string("birch"));
        QCOMPARE(MenuIcons.at("New").pixel(0, 0), QColor(Qt::blue).rgba());
    }

    // Each row leaves a damaged or oversized theme; the pictures must stay
    // as they were and nothing may crash or take long. Oversized members
    // begin with a sound picture or theme.cfg (trailing data is ignored by
    // their readers), so only the limits keep them out.
    void hostileArchives_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("member of 200 MB of zeros") << 0;
        QTest::newRow("bomb declaring a small size") << 1;
        QTest::newRow("member declaring 2 GB") << 2;
        QTest::newRow("theme.cfg of 200 MB") << 3;
        QTest::newRow("truncated zip") << 4;
        QTest::newRow("broken PNG") << 5;
        QTest::newRow("binary junk theme.cfg") << 6;
        QTest::newRow("picture wider than the limit") << 7;
        QTest::newRow("archive above the size limit") << 8;
        QTest::newRow("empty file") << 9;
        QTest::newRow("not a zip") << 10;
        QTest::newRow("folder named like an archive") << 11;
    }
    void hostileArchives() {
        QFETCH(int, kind);
        const QString path = ArchivePath("hostile");
        const std::string cfg = Cfg("Hostile", "New=new\r\nAdd=add\r\n");
        const std::string good = Png({16, 16}, Qt::red);
        constexpr std::uint64_t kBomb = std::uint64_t{200} << 20;
        switch (kind) {
            case 0:
                QVERIFY(WriteZip(path, {{"theme.cfg", cfg}, {"new_16.png", good, kBomb}}));
                break;
            case 1:
                QVERIFY(WriteZip(path, {{"theme.cfg", cfg}, {"new_16.png", good, kBomb}}));
                QVERIFY(DeclareSize(path, "new_16.png", 1000));
                break;
            case 2:
                QVERIFY(WriteZip(path, {{"theme.cfg", cfg}, {"new_16.png", good}}, true));
                QVERIFY(DeclareSize(path, "new_16.png", 0x7FFFFFFFu));
                break;
            case 3:
                QVERIFY(WriteZip(path, {{"theme.cfg", cfg, kBomb}, {"new_16.png", good}}));
                break;
            case 4: {
                QVERIFY(WriteZip(path,
                                 {{"theme.cfg", cfg}, {"new_16.png", good}, {"add_16.png", good}}));
                const QByteArray whole = ReadAll(path);
                QVERIFY(WriteAll(path, whole.left(whole.size() - 60)));
                break;
            }
            case 5:
                QVERIFY(WriteZip(path, {{"theme.cfg", cfg},
                                        {"new_16.png", good.substr(0, good.size() / 2)},
                                        {"add_16.png", "\x89PNG\r\n\x1a\n junk"}}));
                break;
            case 6: {
                std::mt19937 random(7);
                std::string junk(std::size_t{64} << 10, '\0');
                for (char& c : junk) {
                    c = static_cast<char>(random() & 0xFF);
                }
                QVERIFY(WriteZip(path, {{"theme.cfg", junk}, {"new_16.png", good}}));
                break;
            }
            case 7:
                QVERIFY(
                    WriteZip(path, {{"theme.cfg", cfg}, {"new_16.png", Png({2000, 1}, Qt::red)}}));
                break;
            case 8:
                // Sound, but too big to be read.
                QVERIFY(WriteZip(path,
                                 {{"theme.cfg", cfg},
                                  {"new_16.png", good},
                                  {"padding", "", kMaxThemeArchiveBytes}},
                                 true));
                break;
            case 9:
                QVERIFY(WriteAll(path, QByteArray()));
                break;
            case 10:
                QVERIFY(WriteAll(path, QByteArray::fromStdString(cfg)));
                break;
            case 11:
                QVERIFY(QDir(folder_.path()).mkdir("hostile.zip"));
                break;
        }
        Settings.Interface.UiTheme = "hostile";
        const ImageSnapshot before;
        ScanThemes();
        LoadThemeImages(true, true, true);
        QVERIFY(ImageSnapshot() == before);
        QCOMPARE(Settings.Interface.UiTheme, std::string("hostile"));
        if (kind == 6) {
            QCOMPARE(ReadThemeName("hostile"), std::string());
        }
    }

    // The shipped pictures: the theme's name, every picture at every size,
    // the application icon, and sheets of them all for viewing.
    void shippedPictures() {
        UseFolder(QStringLiteral(TARVIK_BUILD_THEMES_DIR));
        ScanThemes();
        QCOMPARE(ThemeNames.at("handdrawn"), std::string("Hand Drawn"));

        std::vector<std::vector<QImage>> builtIn(4);
        for (const std::string_view name : kButtonNames) {
            builtIn[0].push_back(ButtonImages.find(name)->second);
        }
        for (const std::string_view name : kIconNames) {
            builtIn[1].push_back(MenuIcons.find(name)->second);
            builtIn[2].push_back(Scaled(MenuIcons.find(name)->second, 4));
        }
        builtIn[3].push_back(AboutBanner);
        builtIn[3].push_back(Scaled(AboutBanner, 2));
        builtIn.emplace_back();
        for (const int size : {256, 128, 64, 48, 32, 24, 16}) {
            const QString path = QStringLiteral(TARVIK_APP_ICON_DIR "/%1x%1/tarvik.png").arg(size);
            const QImage icon(path, "PNG");
            QCOMPARE(icon.size(), QSize(size, size));
            builtIn.back().push_back(icon);
        }
        QVERIFY(ContactSheet(builtIn).save(OutputPath("themes_builtin.png")));

        const ImageSnapshot builtInSet;
        Settings.Interface.UiTheme = "handdrawn";
        std::vector<std::vector<QImage>> theme;
        for (int sizeIndex = 0; sizeIndex <= 4; ++sizeIndex) {
            Settings.Interface.UiSize = sizeIndex;
            LoadBuiltInImages();
            LoadThemeImages(true, true, true);
            const int pixels = IconPixelSize(sizeIndex);
            std::vector<QImage> row;
            for (const std::string_view name : kIconNames) {
                const QImage& icon = ToolbarIcons.find(name)->second;
                QCOMPARE(icon.size(), QSize(pixels, pixels));
                QVERIFY(icon != builtInSet.toolbar.find(name)->second || pixels == 16);
                row.push_back(icon);
            }
            theme.push_back(row);
        }
        QVERIFY(ImageSnapshot().menu == builtInSet.menu);
        QVERIFY(ImageSnapshot().buttons == builtInSet.buttons);
        QCOMPARE(ButtonImages.at("Convert").size(), QSize(64, 64));
        QCOMPARE(ButtonImages.at("InFolder").size(), QSize(48, 48));
        QVERIFY(ContactSheet(theme).save(OutputPath("themes_handdrawn.png")));
    }

    // Where the folder is without the override is the program's layout
    // (tests/core/program_files_test.cpp, tests/install/).
    void themesFolderOverride() {
        QCOMPARE(QString::fromStdString(ThemesFolder()), folder_.path() + "/");
    }
};

TARVIK_GUI_TEST_MAIN(ThemesTest, "themes")
#include "themes_test.moc"
