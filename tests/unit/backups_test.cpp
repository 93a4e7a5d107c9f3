// Backups of the controller's set before an upload or a reset: named by their time, the newest
// kept, and none without the controller's answer.
#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "shell/backups.h"
#include "shell/config_file.h"
#include "tests/unit/controller_files.h"

using namespace kestos;

namespace {

class Backups : public test::ControllerFiles {};

} // namespace

TEST_F(Backups, NothingIsWrittenWithoutTheControllersAnswer) {
    EXPECT_FALSE(writeBackup(files, "Backup", std::tm{})) << "never answered";
    readController();
    loseController();
    EXPECT_FALSE(writeBackup(files, "Backup", std::tm{})) << "link went down";
    EXPECT_TRUE(files.namesIn("Backup").empty());
}

TEST_F(Backups, BackupsAreNamedByTimeAndTheNewestFiftyKept) {
    readController();
    for (int i = 0; i < 55; ++i) {
        std::string name = "Backup/KestoS-20251201-1200";
        name += std::to_string(10 + i);
        name += ".kss";
        files.files.emplace(name, "x");
    }
    files.files["Backup/notes.kss"] = "mine";
    files.files["Backup/KestoS-2025.kss"] = "mine";
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 7, when.tm_hour = 9, when.tm_min = 5;
    when.tm_sec = 3;
    char written[pathSize] = "";
    ASSERT_TRUE(writeBackup(files, "Backup", when, &written));
    EXPECT_STREQ(written, "Backup/KestoS-20261207-090503.kss");
    ASSERT_TRUE(writeBackup(files, "Backup", when, &written)) << "the same second again";
    EXPECT_STREQ(written, "Backup/KestoS-20261207-090503_02.kss");

    std::set<std::string> names = files.namesIn("Backup");
    EXPECT_EQ(names.size(), 52u) << "50 backups and the two files that are not ours";
    EXPECT_TRUE(names.count("notes.kss") && names.count("KestoS-2025.kss"));
    EXPECT_FALSE(names.count("KestoS-20251201-120016.kss")) << "the oldest seven are gone";
    EXPECT_TRUE(names.count("KestoS-20251201-120017.kss"));
    ASSERT_EQ(saveConfiguration(files, "a.kss"), SaveResult::saved);
    EXPECT_EQ(files.files["Backup/KestoS-20261207-090503.kss"], files.files["a.kss"]);

    files.failFolders = true;
    EXPECT_FALSE(writeBackup(files, "Other", when));
}
