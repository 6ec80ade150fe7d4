// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fills a QtTest data function from one table: made with the column names, it adds the
// columns; Add then takes the rows as a brace-initialised list, a row a line, each its row
// name followed by its values in column order. The column types are the template's
// arguments, so a value of another type is converted where the table is written, not
// refused by QtTest when the row is added.
//
//     QtTestRows<QByteArray, int> table({"text", "length"});
//     table.Add({
//         {"empty", "", 0},
//         {"one letter", "a", 1},
//     });

#include <QTest>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <tuple>
#include <utility>

template <class... Values> class QtTestRows {
public:
    using Row = std::tuple<const char*, Values...>;

    explicit QtTestRows(const std::array<const char*, sizeof...(Values)>& columns) {
        AddColumns(columns, std::index_sequence_for<Values...>());
    }

    void Add(std::initializer_list<Row> rows) const {
        for (const Row& row : rows)
            std::apply([](const char* name,
                          const Values&... values) { (QTest::newRow(name) << ... << values); },
                       row);
    }

private:
    template <std::size_t... Index>
    static void AddColumns(const std::array<const char*, sizeof...(Values)>& columns,
                           std::index_sequence<Index...>) {
        (QTest::addColumn<Values>(columns[Index]), ...);
    }
};
