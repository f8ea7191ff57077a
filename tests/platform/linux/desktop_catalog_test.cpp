#include "platform/linux/desktop_app_catalog.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vt {
namespace {

void write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

struct CatalogFixture : ::testing::Test {
    QTemporaryDir home, system;
    CatalogFixture() {
        write(system.path() + "/applications/org.example.Vault.desktop",
              "[Desktop Entry]\nType=Application\nName=Vault\nName[ja]=金庫\nIcon=vault\n");
        write(system.path() + "/applications/kde/notes.desktop",
              "[Desktop Entry]\nType=Application\nName=Notes\\sPlus\n");
        write(system.path() + "/applications/helper.desktop",
              "[Desktop Entry]\nType=Application\nName=Helper\nNoDisplay=true\n");
        write(system.path() + "/applications/link.desktop",
              "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");
        write(system.path() + "/applications/shadowed.desktop",
              "[Desktop Entry]\nType=Application\nName=Shadowed\n");
        write(system.path() + "/applications/broken.desktop", "no group at all\n");
        // The user's folder comes first: it renames one entry and deletes another.
        write(home.path() + "/applications/org.example.Vault.desktop",
              "[Desktop Entry]\nType=Application\nName=My Vault\n[Desktop Action new]\nName=New\n");
        write(home.path() + "/applications/shadowed.desktop",
              "[Desktop Entry]\nType=Application\nName=Shadowed\nHidden=true\n");
    }
};

TEST_F(CatalogFixture, ListsApplicationsByIdWithEarlierFoldersWinning) {
    DesktopAppCatalog catalog({home.path(), system.path()}, QStringLiteral("C"));
    const auto apps = catalog.installedApps();
    QStringList ids, names;
    for (const auto& app : apps) {
        ids << app.id;
        names << app.name;
    }
    EXPECT_EQ(ids, (QStringList{QStringLiteral("org.example.Vault"), QStringLiteral("kde-notes")}));
    EXPECT_EQ(names, (QStringList{QStringLiteral("My Vault"), QStringLiteral("Notes Plus")}));
}

TEST_F(CatalogFixture, LooksUpByIdIncludingEntriesNotOfferedInChoosers) {
    DesktopAppCatalog catalog({home.path(), system.path()}, QStringLiteral("C"));
    EXPECT_TRUE(catalog.app(QStringLiteral("helper")).has_value());
    EXPECT_TRUE(catalog.app(QStringLiteral("kde-notes.desktop")).has_value());
    EXPECT_FALSE(catalog.app(QStringLiteral("shadowed")).has_value()) << "Hidden=true deletes";
    EXPECT_FALSE(catalog.app(QStringLiteral("link")).has_value()) << "not an application";
    EXPECT_FALSE(catalog.app(QStringLiteral("broken")).has_value());
    EXPECT_FALSE(catalog.app(QStringLiteral("org.example.Nothing")).has_value());
}

TEST_F(CatalogFixture, UsesTheLocalisedName) {
    DesktopAppCatalog catalog({system.path()}, QStringLiteral("ja_JP"));
    const auto vault = catalog.app(QStringLiteral("org.example.Vault"));
    ASSERT_TRUE(vault.has_value());
    EXPECT_EQ(vault->name, QStringLiteral("金庫"));
    EXPECT_TRUE(vault->path.endsWith(QStringLiteral("org.example.Vault.desktop")));
}

TEST(XdgDataDirs, HomeFirstThenSystemFolders) {
    qputenv("XDG_DATA_HOME", "/tmp/vt-home");
    qputenv("XDG_DATA_DIRS", "/opt/share:relative:/usr/share");
    EXPECT_EQ(DesktopAppCatalog::xdgDataDirs(),
              (QStringList{QStringLiteral("/tmp/vt-home"), QStringLiteral("/opt/share"),
                           QStringLiteral("/usr/share")}));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

} // namespace
} // namespace vt
