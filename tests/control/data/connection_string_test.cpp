#include "control/data/connection_string.h"

#include <gtest/gtest.h>

namespace kivdb {
namespace {

using Pairs = std::map<std::string, std::string>;

TEST(ConnectionStringTest, Parses) {
  struct Case {
    const char* text;
    Pairs pairs;
  } cases[] = {
      {"Provider=SQLite;Data Source=/tmp/a.db",
       {{"provider", "SQLite"}, {"data source", "/tmp/a.db"}}},
      {" PROVIDER = sqlite ; data source= x.db ;",
       {{"provider", "sqlite"}, {"data source", "x.db"}}},
      {"Data Source=\"C:\\my; data\\a.db\"", {{"data source", "C:\\my; data\\a.db"}}},
      {"Data Source='it''s.db';Mode=ReadWriteCreate",
       {{"data source", "it's.db"}, {"mode", "ReadWriteCreate"}}},
      {"Pwd=\"a\"\"b\"", {{"pwd", "a\"b"}}},
      {"Key=;Other=1", {{"key", ""}, {"other", "1"}}},
      {"Server=a=b", {{"server", "a=b"}}},
      {"a=1;A=2", {{"a", "2"}}},
      {"Driver={PostgreSQL Unicode};Server=127.0.0.1;Pwd={a;b}}c}",
       {{"driver", "PostgreSQL Unicode"}, {"server", "127.0.0.1"}, {"pwd", "a;b}c"}}},
      {"ConnSettings={SET search_path TO s1}", {{"connsettings", "SET search_path TO s1"}}},
      {";;", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const auto got = ParseConnectionString(c.text, error);
    ASSERT_TRUE(got) << error;
    EXPECT_EQ(*got, c.pairs);
  }
}

TEST(ConnectionStringTest, RejectsMalformed) {
  for (const char* text : {"Provider", "=value", "a=1;junk;b=2", "Data Source=\"open", "a='x' y",
                           "Pwd={open;x=1", "Pwd={a}b"}) {
    SCOPED_TRACE(text);
    std::string error;
    EXPECT_FALSE(ParseConnectionString(text, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace kivdb
