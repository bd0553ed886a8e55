#include "host/classes/lists.h"

#include <gtest/gtest.h>

using namespace host;

TEST(TList, EditingKeepsOrder) {
  int a = 0, b = 0, c = 0, d = 0;
  TList l;
  EXPECT_EQ(l.Add(&a), 0);
  l.Add(&b);
  l.Add(&c);
  l.Insert(1, &d);  // a d b c
  EXPECT_EQ(l.IndexOf(&d), 1);
  l.Move(0, 3);  // d b c a
  EXPECT_EQ(l.First(), &d);
  EXPECT_EQ(l.Last(), &a);
  l.Exchange(0, 3);  // a b c d
  EXPECT_EQ(l.Items(0), &a);
  EXPECT_EQ(l.Items(3), &d);
  EXPECT_EQ(l.Remove(&b), 1);
  EXPECT_EQ(l.Remove(&b), -1);
  l.SetItem(0, nullptr);
  l.Add(nullptr);
  l.Pack();
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Items(0), &c);
  l.Insert(2, &a);  // at Count appends
  EXPECT_EQ(l.Last(), &a);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(TList, IndexOutOfBoundsNamesTheIndex) {
  TList l;
  int x = 0;
  l.Add(&x);
  auto message = [](auto&& f) {
    try {
      f();
    } catch (const EListError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { l.Items(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { l.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { l.Insert(2, &x); }), "List index out of bounds (2)");
  EXPECT_EQ(message([&] { l.Move(0, 1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { l.Exchange(0, 5); }), "List index out of bounds (5)");
  TList empty;
  EXPECT_EQ(message([&] { empty.First(); }), "List index out of bounds (0)");
  EXPECT_EQ(message([&] { empty.Last(); }), "List index out of bounds (-1)");
}
