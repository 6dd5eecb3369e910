#include "desktop/SettingsPath.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <vector>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Real folders and files in a scratch folder. Permissions do not bind the superuser, so when the
// suite runs as root the choice is made for, and its file operations run as, an ordinary user
// (65534), and root plays the other user.
class SettingsPlace : public testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ::chmod(Native(tmp.path()), 0755);
        MakeDir(bin, 0755);
        MakeDir(config, 0700);
    }
    // So that the scratch folder can be removed.
    void TearDown() override { ::chmod(Native(bin), 0755); }

    static const char *Native(const QString &path)
    {
        static QByteArray bytes;
        bytes = QFile::encodeName(path);
        return bytes.constData();
    }
    bool CanPlayAnotherUser() const { return root; }

    void MakeDir(const QString &path, mode_t mode, uid_t owner = uid_t(-1))
    {
        ::mkdir(Native(path), 0700);
        Own(path, mode, owner);
    }
    void MakeFile(const QString &path, const QByteArray &bytes, mode_t mode, uid_t owner = uid_t(-1))
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Own(path, mode, owner);
    }
    void Own(const QString &path, mode_t mode, uid_t owner)
    {
        ASSERT_EQ(::lchown(Native(path), owner == uid_t(-1) ? user : owner, uid_t(-1)), 0) << path.toStdString();
        ASSERT_EQ(::chmod(Native(path), mode), 0);
    }
    void Symlink(const QString &target, const QString &path, uid_t owner = uid_t(-1))
    {
        ASSERT_EQ(::symlink(Native(target), QFile::encodeName(path).constData()), 0);
        ASSERT_EQ(::lchown(Native(path), owner == uid_t(-1) ? user : owner, uid_t(-1)), 0);
    }
    // The bytes of a regular file; never opens a FIFO or device.
    static QByteArray Read(const QString &path)
    {
        struct stat st {};
        if (::lstat(Native(path), &st) != 0 || !S_ISREG(st.st_mode))
            return "<not a file>";
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }

    // A group of other users too, of which the chosen user's folder can be; none when the
    // user (when not root) is in no such group.
    std::optional<gid_t> SharedGroup() const
    {
        if (root)
            return gid_t(0);
        std::vector<gid_t> groups(static_cast<size_t>(::getgroups(0, nullptr)));
        groups.resize(static_cast<size_t>(::getgroups(static_cast<int>(groups.size()), groups.data())));
        for (gid_t g : groups) {
            const struct group *gr = ::getgrgid(g);
            if (gr && gr->gr_mem && gr->gr_mem[0] && g != ::getgid())
                return g;
        }
        return std::nullopt;
    }
    // The primary group is named as the user and has no other members.
    bool HasPrivateGroup() const
    {
        if (root)
            return false;
        const struct passwd *pw = ::getpwuid(user);
        const struct group *gr = pw ? ::getgrgid(pw->pw_gid) : nullptr;
        return gr && QByteArray(pw->pw_name) == gr->gr_name && (!gr->gr_mem || !gr->gr_mem[0]);
    }

    TSettingsFiles Choose()
    {
        if (root)
            ::setfsuid(user);
        const TSettingsFiles files = SettingsFilesFor(exe, config, user);
        if (root)
            ::setfsuid(0);
        return files;
    }

    const bool root = ::geteuid() == 0;
    const uid_t user = root ? 65534 : ::geteuid();
    QTemporaryDir tmp;
    const QString bin = tmp.filePath(QStringLiteral("bin"));
    const QString config = tmp.filePath(QStringLiteral("config"));
    const QString exe = bin + QStringLiteral("/pigmora");
    const QString beside = bin + QStringLiteral("/pigmora.ini");
    const QString perUser = config + QStringLiteral("/pigmora/pigmora.ini");
    const QString old = config + QStringLiteral("/pigmora.ini");
};

enum TPlace { Beside, PerUser };

struct PlaceRow {
    const char *name;
    bool needsAnotherUser;
    std::function<void(SettingsPlace &)> prepare;
    TPlace read, write;
};

class SettingsPlaceTable : public SettingsPlace, public testing::WithParamInterface<PlaceRow> {};

TEST_P(SettingsPlaceTable, ChoosesWhereToReadAndWhereToStore)
{
    const PlaceRow &row = GetParam();
    if (row.needsAnotherUser && !CanPlayAnotherUser())
        GTEST_SKIP() << "needs a second user: run the suite as root";
    row.prepare(*this);
    if (IsSkipped() || HasFatalFailure())
        return;
    const QByteArray besideBefore = Read(beside);
    const TSettingsFiles files = Choose();
    EXPECT_EQ(files.Read, row.read == Beside ? beside : perUser);
    EXPECT_EQ(files.Write, row.write == Beside ? beside : perUser);
    if (row.write == PerUser) {
        struct stat st {};
        ASSERT_EQ(::stat(Native(config + QStringLiteral("/pigmora")), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(st.st_uid, user);
    }
    EXPECT_EQ(Read(beside), besideBefore) << "choosing never writes beside";
}

constexpr uid_t AnotherUser = 0;

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPlaceTable,
    testing::Values(
        PlaceRow{"PrivateFolderWithoutAFile", false, [](SettingsPlace &) {}, Beside, Beside},
        PlaceRow{"OwnWritableFile", false,
                 [](SettingsPlace &p) { p.MakeFile(p.beside, "[S]\n", 0600); }, Beside, Beside},
        PlaceRow{"FolderWritableByASharedGroup", false,
                 [](SettingsPlace &p) {
                     const auto group = p.SharedGroup();
                     if (!group)
                         GTEST_SKIP() << "this user is in no shared group";
                     ASSERT_EQ(::chown(SettingsPlace::Native(p.bin), uid_t(-1), *group), 0);
                     p.Own(p.bin, 0775, uid_t(-1));
                 },
                 PerUser, PerUser},
        PlaceRow{"FolderWritableByTheUsersPrivateGroup", false,
                 [](SettingsPlace &p) {
                     if (!p.HasPrivateGroup())
                         GTEST_SKIP() << "this user has no private group";
                     p.Own(p.bin, 0775, uid_t(-1)); // the umask 002 of such systems
                 },
                 Beside, Beside},
        PlaceRow{"WorldWritableFolder", false, [](SettingsPlace &p) { p.Own(p.bin, 0757, uid_t(-1)); },
                 PerUser, PerUser},
        PlaceRow{"StickySharedFolderLikeTmp", false,
                 [](SettingsPlace &p) { p.Own(p.bin, 01777, uid_t(-1)); }, PerUser, PerUser},
        PlaceRow{"UnwritableFolderWithoutAFile", false,
                 [](SettingsPlace &p) { p.Own(p.bin, 0555, uid_t(-1)); }, PerUser, PerUser},
        PlaceRow{"ReadOnlyCopyIsReadTheCloseStoresPerUser", false,
                 [](SettingsPlace &p) {
                     p.MakeFile(p.beside, "[S]\n", 0444);
                     p.Own(p.bin, 0555, uid_t(-1));
                 },
                 Beside, PerUser},
        PlaceRow{"ReadOnlyFileInAWritableFolder", false,
                 [](SettingsPlace &p) { p.MakeFile(p.beside, "[S]\n", 0444); }, Beside, PerUser},
        PlaceRow{"PerUserFileWinsOverTheReadOnlyCopy", false,
                 [](SettingsPlace &p) {
                     p.MakeFile(p.beside, "[S]\n", 0444);
                     p.MakeDir(p.config + QStringLiteral("/pigmora"), 0700);
                     p.MakeFile(p.perUser, "[S]\n", 0600);
                 },
                 PerUser, PerUser},
        PlaceRow{"UnreadableFile", false, [](SettingsPlace &p) { p.MakeFile(p.beside, "[S]\n", 0200); },
                 PerUser, PerUser},
        PlaceRow{"DanglingSymlink", false,
                 [](SettingsPlace &p) { p.Symlink(p.tmp.filePath(QStringLiteral("nowhere.ini")), p.beside); },
                 PerUser, PerUser},
        PlaceRow{"SymlinkToOwnFile", false,
                 [](SettingsPlace &p) {
                     p.MakeFile(p.config + QStringLiteral("/target.ini"), "[S]\n", 0600);
                     p.Symlink(p.config + QStringLiteral("/target.ini"), p.beside);
                 },
                 PerUser, PerUser},
        PlaceRow{"DirectoryInThePlace", false, [](SettingsPlace &p) { p.MakeDir(p.beside, 0700); },
                 PerUser, PerUser},
        PlaceRow{"FifoInThePlace", false,
                 [](SettingsPlace &p) {
                     ASSERT_EQ(::mkfifo(QFile::encodeName(p.beside).constData(), 0600), 0);
                     p.Own(p.beside, 0600, uid_t(-1));
                 },
                 PerUser, PerUser},
        PlaceRow{"DeviceInThePlace", true,
                 [](SettingsPlace &p) {
                     if (::mknod(QFile::encodeName(p.beside).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                         GTEST_SKIP() << "no device nodes here";
                 },
                 PerUser, PerUser},
        PlaceRow{"AnotherUsersSymlinkInASharedFolder", true,
                 [](SettingsPlace &p) {
                     p.Own(p.bin, 01777, AnotherUser);
                     p.MakeFile(p.config + QStringLiteral("/victim"), "mine\n", 0600);
                     p.Symlink(p.config + QStringLiteral("/victim"), p.beside, AnotherUser);
                 },
                 PerUser, PerUser},
        PlaceRow{"AnotherUsersFileInOwnFolder", true,
                 [](SettingsPlace &p) { p.MakeFile(p.beside, "[S]\n", 0666, 65533); }, PerUser, PerUser},
        PlaceRow{"AnotherUsersFolder", true, [](SettingsPlace &p) { p.Own(p.bin, 0755, 65533); },
                 PerUser, PerUser},
        PlaceRow{"ReadOnlyInstall", true,
                 [](SettingsPlace &p) {
                     p.MakeFile(p.beside, "[S]\n", 0644, AnotherUser);
                     p.Own(p.bin, 0755, AnotherUser);
                 },
                 Beside, PerUser}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsPlace, OldPlaceIsMovedOnceLosingNothing)
{
    Own(bin, 0757, uid_t(-1)); // beside is refused: the per-user file it is
    const QByteArray bytes = "[Form\\fMyColor]\nInteger=255\n; a comment\n";
    MakeFile(old, bytes, 0640);
    EXPECT_EQ(Choose().Read, perUser);
    EXPECT_EQ(Read(perUser), bytes);
    EXPECT_FALSE(QFile::exists(old));
    struct stat st {};
    ASSERT_EQ(::stat(Native(perUser), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // A later old file (another copy of the program) never replaces the per-user one.
    MakeFile(old, "[Other]\n", 0600);
    EXPECT_EQ(Choose().Read, perUser);
    EXPECT_EQ(Read(perUser), bytes);
    EXPECT_EQ(Read(old), QByteArray("[Other]\n"));
}

TEST_F(SettingsPlace, MissingConfigHomeIsCreatedPrivate)
{
    Own(bin, 0757, uid_t(-1));
    Own(tmp.path(), 0777, uid_t(-1)); // so the ordinary user may create the folders
    const QString home = tmp.filePath(QStringLiteral("home/.config"));
    if (root)
        ::setfsuid(user);
    const TSettingsFiles files = SettingsFilesFor(exe, home, user);
    if (root)
        ::setfsuid(0);
    EXPECT_EQ(files.Write, home + QStringLiteral("/pigmora/pigmora.ini"));
    for (const QString &folder : {tmp.filePath(QStringLiteral("home")), home, home + QStringLiteral("/pigmora")}) {
        struct stat st {};
        ASSERT_EQ(::stat(Native(folder), &st), 0) << folder.toStdString();
        EXPECT_EQ(st.st_mode & 07777, 0700u) << folder.toStdString();
    }
    EXPECT_EQ(IniNameFor(QStringLiteral("/opt/x/tool.exe")), QStringLiteral("/opt/x/tool.ini"));
}

TEST_F(SettingsPlace, CopyForStoreKeepsTheReadFileAndNeverReplaces)
{
    MakeFile(beside, "[S]\nV=1\n", 0444);
    MakeDir(config + QStringLiteral("/pigmora"), 0700);
    CopyForStore(beside, perUser);
    EXPECT_EQ(Read(perUser), QByteArray("[S]\nV=1\n"));
    struct stat st {};
    ASSERT_EQ(::stat(Native(perUser), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    QFile::remove(beside);
    MakeFile(beside, "[S]\nV=2\n", 0444);
    CopyForStore(beside, perUser);
    EXPECT_EQ(Read(perUser), QByteArray("[S]\nV=1\n"));

    // Not through a symlink at the target either.
    QFile::remove(perUser);
    MakeFile(config + QStringLiteral("/victim"), "mine\n", 0600);
    Symlink(config + QStringLiteral("/victim"), perUser);
    CopyForStore(beside, perUser);
    EXPECT_EQ(Read(config + QStringLiteral("/victim")), QByteArray("mine\n"));
}

} // namespace
