#include "app/data/SQLiteDB.h"

#include <gtest/gtest.h>

#include <string>

#include "DataTestSupport.h"
#include "app/data/SQLiteAutoTransaction.h"
#include "app/data/SQLiteStatement.h"

namespace {

constexpr int kCreate = 0x10006;
constexpr int kMisuse = 21;
constexpr int kRow = 100;
constexpr int kDone = 101;

class SQLiteLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.Path().empty());
    ASSERT_TRUE(db_.Open(Path("a.db"), "", kCreate));
    ASSERT_EQ(db_.Exec("CREATE TABLE t(x INTEGER UNIQUE, s TEXT); INSERT INTO t VALUES (1, 'one'), (2, 'two');"), 0);
  }
  std::string Path(const char* name) const { return folder_.Path() + name; }

  DataTestFolder folder_;
  SQLiteDB db_;
};

int CountRows(SQLiteDB& db, const char* table) {
  SQLiteStatement s;
  if (db.Prepare(s, (std::string("SELECT count(*) FROM ") + table).c_str()) != 0 || s.Step() != kRow) return -1;
  return s.ColumnInt(0);
}

}  // namespace

TEST(SQLiteNoConnection, EveryCallReportsMisuse) {
  SQLiteDB db;
  SQLiteStatement s;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.Prepare(s, "SELECT 1"), kMisuse);
  EXPECT_EQ(db.Exec("SELECT 1"), kMisuse);
  EXPECT_EQ(db.LastInsertRowId(), -1);
  EXPECT_TRUE(db.Close());
  EXPECT_EQ(s.BindInt(1, 5), kMisuse);
  EXPECT_EQ(s.BindText(1, "x", 1), kMisuse);
  EXPECT_EQ(s.Step(), kMisuse);
  EXPECT_EQ(s.ColumnInt(0), 0);
  EXPECT_EQ(s.ColumnText(0), nullptr);
  EXPECT_EQ(s.IsDone(), 1);
}

TEST_F(SQLiteLayer, NullTextIsMisuse) {
  SQLiteStatement s;
  EXPECT_EQ(db_.Prepare(s, nullptr), kMisuse);
  EXPECT_EQ(db_.Exec(nullptr), kMisuse);
}

TEST_F(SQLiteLayer, FailedPrepareLeavesNoStatement) {
  SQLiteStatement s;
  EXPECT_NE(db_.Prepare(s, "SELECT * FROM missing_table WHERE x = ?"), 0);
  EXPECT_FALSE(s.HasStatement());
  EXPECT_EQ(s.BindInt(1, 1), kMisuse);
  EXPECT_EQ(s.Step(), kMisuse);
}

TEST_F(SQLiteLayer, DoneFlagFollowsSteps) {
  SQLiteStatement s;
  ASSERT_EQ(db_.Prepare(s, "SELECT s FROM t WHERE x = ?"), 0);
  ASSERT_EQ(s.BindInt(1, 2), 0);
  EXPECT_EQ(s.Step(), kRow);
  EXPECT_EQ(s.IsDone(), 0);
  EXPECT_STREQ(s.ColumnText(0), "two");
  EXPECT_EQ(s.Step(), kDone);
  EXPECT_EQ(s.IsDone(), 1);
}

TEST_F(SQLiteLayer, TextIsBoundWithItsByteLength) {
  SQLiteStatement s;
  const std::string text = "ab\0cd";  // only the first two bytes are bound
  ASSERT_EQ(db_.Prepare(s, "INSERT INTO t VALUES (3, ?)"), 0);
  ASSERT_EQ(s.BindText(1, text.data(), 2), 0);
  ASSERT_EQ(s.Step(), kDone);
  EXPECT_EQ(db_.LastInsertRowId(), 3);
  ASSERT_EQ(db_.Prepare(s, "SELECT s FROM t WHERE x = 3"), 0);
  ASSERT_EQ(s.Step(), kRow);
  EXPECT_STREQ(s.ColumnText(0), "ab");
}

TEST_F(SQLiteLayer, PrepareFinalizesThePreviousStatement) {
  SQLiteDB other;
  ASSERT_TRUE(other.Open(Path("a.db"), "", kCreate));
  SQLiteStatement s;
  ASSERT_EQ(db_.Prepare(s, "SELECT x FROM t"), 0);
  ASSERT_EQ(s.Step(), kRow);  // the open read holds the file's shared lock
  EXPECT_EQ(s.IsDone(), 0);
  EXPECT_NE(other.Exec("INSERT INTO t VALUES (7, 'seven')"), 0);

  ASSERT_EQ(db_.Prepare(s, "SELECT s FROM t WHERE x = 1"), 0);
  EXPECT_EQ(s.IsDone(), 1);
  EXPECT_EQ(other.Exec("INSERT INTO t VALUES (7, 'seven')"), 0);  // the read is gone
  ASSERT_EQ(s.Step(), kRow);
  EXPECT_STREQ(s.ColumnText(0), "one");
}

TEST_F(SQLiteLayer, StatementAfterAFailedStepIsFinalizedOnce) {
  // Finalizing repeats the error of the failed step; the statement must be gone
  // all the same (a second finalize would free it twice).
  SQLiteStatement s;
  ASSERT_EQ(db_.Prepare(s, "INSERT INTO t VALUES (1, 'duplicate')"), 0);
  EXPECT_EQ(s.Step(), 19);  // constraint
  ASSERT_EQ(db_.Prepare(s, "SELECT count(*) FROM t"), 0);
  ASSERT_EQ(s.Step(), kRow);
  EXPECT_EQ(s.ColumnInt(0), 2);
  ASSERT_EQ(db_.Prepare(s, "INSERT INTO t VALUES (2, 'duplicate')"), 0);
  EXPECT_EQ(s.Step(), 19);
  // destroyed here with a failed last step
}

TEST_F(SQLiteLayer, OpenClosesTheOpenConnectionFirst) {
  ASSERT_TRUE(db_.Open(Path("b.db"), "", kCreate));
  EXPECT_TRUE(db_.IsOpen());
  EXPECT_EQ(CountRows(db_, "t"), -1);  // b.db has no table t
  ASSERT_TRUE(db_.Open(Path("a.db"), "", kCreate));
  EXPECT_EQ(CountRows(db_, "t"), 2);
}

TEST_F(SQLiteLayer, CloseFailsWhileAStatementLives) {
  {
    SQLiteStatement s;
    ASSERT_EQ(db_.Prepare(s, "SELECT x FROM t"), 0);
    EXPECT_FALSE(db_.Close());
    EXPECT_TRUE(db_.IsOpen());
    // Reopening cannot close it either: the old connection stays usable.
    EXPECT_FALSE(db_.Open(Path("b.db"), "", kCreate));
    EXPECT_TRUE(db_.IsOpen());
    EXPECT_EQ(CountRows(db_, "t"), 2);
  }
  EXPECT_TRUE(db_.Close());
  EXPECT_FALSE(db_.IsOpen());
}

TEST_F(SQLiteLayer, FailedOpenLeavesNoConnection) {
  EXPECT_FALSE(db_.Open(Path("no/such/folder/c.db"), "", kCreate));
  EXPECT_FALSE(db_.IsOpen());
}

TEST_F(SQLiteLayer, KeyedOpenIsRefusedAndTouchesNothing) {
  EXPECT_FALSE(db_.Open(Path("b.db"), "secret", kCreate));
  EXPECT_TRUE(db_.IsOpen());
  EXPECT_EQ(CountRows(db_, "t"), 2);
}

TEST_F(SQLiteLayer, DestroyingTheDatabaseBeforeItsStatementIsSafe) {
  auto* db = new SQLiteDB;
  ASSERT_TRUE(db->Open(Path("a.db"), "", kCreate));
  SQLiteStatement s;
  ASSERT_EQ(db->Prepare(s, "SELECT x FROM t"), 0);
  delete db;  // the statement finalizes last; neither leaks nor dangles
}

TEST(SQLiteTransaction, WithoutDatabaseExecutesNothing) {
  SQLiteAutoTransaction t(nullptr);
  EXPECT_FALSE(t.IsActive());
  EXPECT_FALSE(t.Begin());
  EXPECT_FALSE(t.End());
}

TEST_F(SQLiteLayer, TransactionBeginsAndEnds) {
  {
    SQLiteAutoTransaction t(&db_);
    EXPECT_TRUE(t.IsActive());
    EXPECT_NE(db_.Exec("BEGIN"), 0);  // already inside the transaction
    EXPECT_FALSE(t.Begin());          // already active
    EXPECT_TRUE(t.End());
    EXPECT_FALSE(t.IsActive());
    EXPECT_TRUE(t.Begin());
    ASSERT_EQ(db_.Exec("INSERT INTO t VALUES (5, 'five')"), 0);
  }
  // The destructor committed: another connection sees the row.
  SQLiteDB other;
  ASSERT_TRUE(other.Open(Path("a.db"), "", kCreate));
  EXPECT_EQ(CountRows(other, "t"), 3);
  EXPECT_EQ(db_.Exec("BEGIN"), 0);
  EXPECT_EQ(db_.Exec("END"), 0);
}

TEST_F(SQLiteLayer, TransactionNeverRollsBack) {
  {
    SQLiteAutoTransaction t(&db_);
    EXPECT_NE(db_.Exec("INSERT INTO t VALUES (1, 'duplicate')"), 0);
    EXPECT_EQ(db_.Exec("INSERT INTO t VALUES (9, 'nine')"), 0);
  }
  EXPECT_EQ(CountRows(db_, "t"), 3);
}

TEST(SQLiteTransaction, OnAClosedDatabaseExecutesNothing) {
  SQLiteDB db;
  SQLiteAutoTransaction t(&db);
  EXPECT_TRUE(t.IsActive());
  EXPECT_FALSE(t.End());  // "END" is not run without a connection
  EXPECT_FALSE(t.IsActive());
  EXPECT_FALSE(t.Begin());
}
