#include "app/data/SQLiteQuery.h"

#include <climits>

#include "korinui/TextCodec.h"

SQLiteQuery::SQLiteQuery(SQLiteDB& db, const char* sql) { db.Prepare(statement_, sql, -1); }

SQLiteQuery& SQLiteQuery::Int(int value) {
  statement_.BindInt(next_++, value);
  return *this;
}

SQLiteQuery& SQLiteQuery::Text(const std::wstring& value) {
  const std::string& bytes = texts_.emplace_back(korinui::WideToUtf8(value));
  // Texts beyond 2 GiB cannot be bound; SQLite then reports the too-big error on bind.
  const int length = bytes.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes.size());
  statement_.BindText(next_++, bytes.data(), length);
  return *this;
}

bool SQLiteQuery::Run() { return StepSucceeded(statement_.Step()); }

std::wstring SQLiteQuery::ColumnText(int column) const {
  const char* text = statement_.ColumnText(column);
  return text == nullptr ? std::wstring() : korinui::Utf8ToWide(text);
}
