// Where the question bank lives: beside the program when that folder is
// there and writable, else in the user's data folder, filled with the
// sample bank on first start; --bank wins over both.

#include "app/bank_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "materials/utf8_path.h"

namespace qiru::app {
namespace {

namespace fs = std::filesystem;

const fs::path kBank = pathFromUtf8("比赛题库");

class BankLocationTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("qiru-bank-" + std::to_string(::getpid()) + "-" +
                                         testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    places_.programDir = root_ / "bin";
    places_.userDataDir = root_ / "data" / "qiru-pk";
    places_.sampleBank = root_ / "share" / kBank;
    fs::create_directories(places_.programDir);
    fs::create_directories(places_.sampleBank / "1.基础");
    std::ofstream(places_.sampleBank / "1.基础" / "单音节.txt") << "八\tBA:\r\n";
  }
  void TearDown() override {
    ::chmod((places_.programDir / kBank).c_str(), 0755);
    fs::remove_all(root_);
  }

  fs::path root_;
  BankPlaces places_;
};

TEST_F(BankLocationTest, PortableBankBesideTheProgramWins) {
  fs::create_directories(places_.programDir / kBank);
  EXPECT_EQ(chooseBankFolder(places_), places_.programDir / kBank);
}

TEST_F(BankLocationTest, UserDataFolderWhenNothingIsBesideTheProgram) {
  const fs::path bank = chooseBankFolder(places_);
  EXPECT_EQ(bank, places_.userDataDir / kBank);
  prepareBankFolder(places_, bank);
  EXPECT_TRUE(fs::exists(bank / "1.基础" / "单音节.txt")) << "the first start copies the sample bank";
}

TEST_F(BankLocationTest, ExistingUserBankIsLeftAlone) {
  const fs::path bank = places_.userDataDir / kBank;
  fs::create_directories(bank);
  std::ofstream(bank / "mine.txt") << "x";
  prepareBankFolder(places_, chooseBankFolder(places_));
  EXPECT_TRUE(fs::exists(bank / "mine.txt"));
  EXPECT_FALSE(fs::exists(bank / "1.基础")) << "the sample is copied only into a new bank";
}

TEST_F(BankLocationTest, ReadOnlyFolderBesideTheProgramIsPassedOver) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders";
  fs::create_directories(places_.programDir / kBank);
  ::chmod((places_.programDir / kBank).c_str(), 0555);
  EXPECT_EQ(chooseBankFolder(places_), places_.userDataDir / kBank);
}

TEST_F(BankLocationTest, ExplicitFolderOverridesAndStartsEmpty) {
  fs::create_directories(places_.programDir / kBank);
  places_.override = root_ / "elsewhere";
  const fs::path bank = chooseBankFolder(places_);
  EXPECT_EQ(bank, root_ / "elsewhere");
  prepareBankFolder(places_, bank);
  EXPECT_TRUE(fs::is_directory(bank));
  EXPECT_TRUE(fs::is_empty(bank));
}

}  // namespace
}  // namespace qiru::app
