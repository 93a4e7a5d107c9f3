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
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

void collect(const char* name, void* context) {
    static_cast<std::set<std::string>*>(context)->insert(name);
}

} // namespace

TEST(PosixFiles, ReplaceIsWholeOrNothing) {
    PosixFileSystem files;
    char pattern[] = "/tmp/kestos-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern, path = dir + "/zapis łódź.kss", big(4000, 'n');
    ASSERT_TRUE(files.replaceFile(path.c_str(), "old", 3));

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
    ASSERT_TRUE(files.makeFolder((dir + "/Backup").c_str()));
    EXPECT_TRUE(files.makeFolder((dir + "/Backup").c_str())) << "an existing folder is fine";
    std::set<std::string> names;
    files.listFolder(dir.c_str(), collect, &names);
    EXPECT_EQ(names, std::set<std::string>{"zapis łódź.kss"}) << "no temporary file, no folder";

    ASSERT_TRUE(files.replaceFile(path.c_str(), big.data(), big.size()));
    EXPECT_EQ(slurp(path), big);
    EXPECT_FALSE(files.makeFolder(path.c_str())) << "a file is in the way";
    EXPECT_FALSE(files.openForReading((dir + "/Backup").c_str())) << "a folder is not a file";
    std::system(("rm -rf '" + dir + "'").c_str());
}
