// Saving replaces a file whole: a process that dies between writing and renaming leaves the
// old file as it was, and a save that completes leaves exactly the new text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "core/workspace/SalvaAtomico.h"
#include "core/workspace/Workspace.h"

namespace {

namespace fs = std::filesystem;

std::string Contenuto(const fs::path& p) {
    std::ifstream f(p);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

class Salvataggio : public ::testing::Test {
protected:
    void SetUp() override {
        cartella_ = fs::temp_directory_path() / ("vantor-salva-" + std::to_string(getpid()));
        fs::create_directories(cartella_);
        file_ = cartella_ / "w.toml";
        std::ofstream(file_) << "vecchio\n";
        fs::permissions(file_,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    void TearDown() override { fs::remove_all(cartella_); }
    fs::path cartella_, file_;
};

TEST_F(Salvataggio, a_crash_before_the_rename_leaves_the_old_file) {
    const pid_t figlio = fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        SalvaAtomico(file_.string(), std::string(1 << 20, 'n'), [] { _exit(3); });
        _exit(0);
    }
    int stato = 0;
    ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
    ASSERT_EQ(WEXITSTATUS(stato), 3);  // it did stop between writing and renaming
    EXPECT_EQ(Contenuto(file_), "vecchio\n");
}

TEST_F(Salvataggio, a_save_replaces_the_text_and_keeps_permissions) {
    SalvaAtomico(file_.string(), "nuovo\n");
    EXPECT_EQ(Contenuto(file_), "nuovo\n");
    EXPECT_EQ(fs::status(file_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella_), fs::directory_iterator()), 1);
}

TEST_F(Salvataggio, a_folder_that_cannot_be_written_is_reported) {
    EXPECT_THROW(SalvaAtomico((cartella_ / "manca" / "w.toml").string(), "x"), EWorkspace);
}

}  // namespace
