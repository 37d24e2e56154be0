#pragma once
// Table-driven tests with the whole row in one struct: the _data function is one call,
//     void f_data() { addRows<Row>({{"name", ...}, ...}); }   void f() { QFETCH(Row, row); ... }
// where Row's first member is the row's name (const char *).

#include <QTest>
#include <initializer_list>

template <typename Row> void addRows(std::initializer_list<Row> rows)
{
    QTest::addColumn<Row>("row");
    for (const Row &r : rows)
        QTest::newRow(r.name) << r;
}
