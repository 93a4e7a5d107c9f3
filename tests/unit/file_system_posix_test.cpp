// The POSIX files under a real file system: a save that fails part-way leaves the old file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "shell/file_system_posix.h"

using namespace kestos;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void collect(const char* name, void* context) {
    static_cast<std::set<std::string>*>(context)->insert(name);
}

class PosixFiles : public ::testing::Test {
  protected:
    PosixFileSystem files;
    std::string dir;
    void SetUp() override {
        char pattern[] = "/tmp/kestos-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::set<std::string> names() {
        std::set<std::string> n;
        files.listFolder(dir.c_str(), collect, &n);
        return n;
    }
};

} // namespace

TEST_F(PosixFiles, ReplaceIsWholeOrNothing) {
    const std::string path = dir + "/zapis łódź.kss";
    ASSERT_TRUE(files.replaceFile(path.c_str(), "old", 3));
    const std::string big(4000, 'n');

    // The file size limit stops the write part-way, as a full disk would.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    bool replaced = files.replaceFile(path.c_str(), big.data(), big.size());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(replaced);
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(names(), std::set<std::string>{"zapis łódź.kss"}) << "no temporary file stays";

    ASSERT_TRUE(files.replaceFile(path.c_str(), big.data(), big.size()));
    EXPECT_EQ(slurp(path), big);
    EXPECT_FALSE(files.replaceFile((dir + "/no/such/folder.kss").c_str(), "x", 1));
}

TEST_F(PosixFiles, FoldersListAndRemove) {
    const std::string sub = dir + "/Backup";
    EXPECT_TRUE(files.makeFolder(sub.c_str()));
    EXPECT_TRUE(files.makeFolder(sub.c_str())) << "an existing folder is fine";
    EXPECT_FALSE(files.openForReading(sub.c_str())) << "a folder is not a file to read";
    ASSERT_TRUE(files.replaceFile((dir + "/a.kss").c_str(), "a", 1));
    EXPECT_FALSE(files.makeFolder((dir + "/a.kss").c_str())) << "a file is in the way";
    EXPECT_EQ(names(), (std::set<std::string>{"Backup", "a.kss"}));
    EXPECT_TRUE(files.removeFile((dir + "/a.kss").c_str()));
    EXPECT_FALSE(files.removeFile((dir + "/a.kss").c_str()));
}
