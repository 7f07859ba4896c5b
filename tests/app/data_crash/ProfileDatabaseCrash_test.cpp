// A writer process is killed at random points while it stores batches; after
// every kill the file must pass SQLite's integrity check and hold every batch
// the writer saw committed, each one whole.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/data/ProfileDatabase.h"
#include "app/data/SQLiteDB.h"
#include "app/data/SQLiteStatement.h"
#include "korinui/TextCodec.h"

namespace {

const std::wstring kModel = L"ORVA 100_V4";
constexpr int kEventsPerBatch = 40;
constexpr int kRuns = 300;

// The child: stores batches until it is killed, reporting each committed one.
[[noreturn]] void WriteUntilKilled(const std::wstring& folder, int firstBatch, int reportFd) {
  ProfileDatabase db;
  if (!db.OpenDatabase(folder, kModel)) _exit(3);
  for (int batch = firstBatch; batch < firstBatch + 100000; ++batch) {
    std::vector<MacroEventRow> events;
    for (int i = 0; i < kEventsPerBatch; ++i) {
      events.push_back({0, batch, 2 + i % 2, i, L"key \u00e9", 65 + i % 26, 10});
    }
    db.AddMacroEvents(events);
    KeyAssignmentRow key;
    key.profile = 1;
    key.key_code = 4;
    key.macro_type = 3;
    key.macro_value = batch;
    const bool keySaved = db.SaveKeyAssignment(key) > 0;
    const int32_t report[2] = {batch, keySaved ? 1 : 0};
    if (write(reportFd, report, sizeof report) != static_cast<ssize_t>(sizeof report)) _exit(4);
  }
  _exit(0);
}

struct Check {
  std::string integrity;
  std::map<int, int> eventsPerBatch;
  int keyRows = 0;
  int keyValue = 0;
};

Check Inspect(const std::string& path) {
  Check check;
  SQLiteDB db;
  if (!db.Open(path, "", 0x10002)) return check;
  SQLiteStatement s;
  if (db.Prepare(s, "PRAGMA integrity_check") == 0 && s.Step() == 100 && s.ColumnText(0) != nullptr) {
    check.integrity = s.ColumnText(0);
  }
  if (db.Prepare(s, "SELECT macro_id, count(*) FROM t_macrorecord GROUP BY macro_id") == 0) {
    while (s.Step() == 100) check.eventsPerBatch[s.ColumnInt(0)] = s.ColumnInt(1);
  }
  if (db.Prepare(s, "SELECT count(*), max(macro_value) FROM t_key_macro_data WHERE key_code = 4") == 0 &&
      s.Step() == 100) {
    check.keyRows = s.ColumnInt(0);
    check.keyValue = s.ColumnInt(1);
  }
  return check;
}

}  // namespace

TEST(ProfileDatabaseCrash, KilledWriterLosesNoCommittedBatch) {
  std::string root = (std::filesystem::temp_directory_path() / "keystrel-crash-XXXXXX").string();
  ASSERT_NE(mkdtemp(root.data()), nullptr);
  root += "/";
  std::filesystem::create_directories(root + "db");
  const std::wstring folder = korinui::Utf8ToWide(root);
  const std::string path = korinui::WideToUtf8(ProfileDatabase::DatabasePath(folder, kModel));

  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> lifeMicros(0, 8000);
  std::set<int> committed;
  int lastKeyValue = 0;
  int runsWithCommits = 0;
  for (int run = 0; run < kRuns; ++run) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      WriteUntilKilled(folder, (run + 1) * 100000, fds[1]);
    }
    close(fds[1]);
    bool any = false;
    int32_t report[2];
    const auto take = [&] {
      committed.insert(report[0]);
      if (report[1] != 0) lastKeyValue = report[0];
      any = true;
    };
    // Every fourth writer dies counting from its start (creation, recovery);
    // the others from their first commit, so a slow machine still kills them
    // in the middle of later batches.
    if (run % 4 != 0) {
      pollfd wait{fds[0], POLLIN, 0};
      if (poll(&wait, 1, 10000) == 1 && read(fds[0], report, sizeof report) == static_cast<ssize_t>(sizeof report)) {
        take();
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(lifeMicros(random)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer ended by itself, status " << status << " in run " << run;
    while (read(fds[0], report, sizeof report) == static_cast<ssize_t>(sizeof report)) take();
    close(fds[0]);
    if (any) ++runsWithCommits;

    const Check check = Inspect(path);
    if (!std::filesystem::exists(path)) continue;  // killed before the file existed
    ASSERT_EQ(check.integrity, "ok") << "run " << run;
    for (const auto& [batch, count] : check.eventsPerBatch) {
      ASSERT_EQ(count, kEventsPerBatch) << "batch " << batch << " is partial after run " << run;
    }
    for (int batch : committed) {
      ASSERT_EQ(check.eventsPerBatch.count(batch), 1u) << "committed batch " << batch << " lost after run " << run;
    }
    // The key is never left without its row once it had one, and holds at
    // least the last assignment reported committed.
    if (lastKeyValue != 0) {
      ASSERT_EQ(check.keyRows, 1) << "run " << run;
      ASSERT_GE(check.keyValue, lastKeyValue) << "run " << run;
    }
  }
  EXPECT_GT(runsWithCommits, kRuns / 2);  // the kills were not all too early to matter
  std::error_code error;
  std::filesystem::remove_all(root, error);
}
