#pragma once
// A store database of a restaurant chain at scale, for the benchmarks: branches, clients, waiters,
// tables, consumers and comandas whose values look like a real store's (zero-padded codes, CPFs
// with valid check digits, identity numbers with a letter check character, external codes), some
// consumers registered under two clients. The same seed and sizes give the same rows, row by row.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gendata {

struct Sizes {
    int consumers = 10000;
    int clients = 1000;
    int branches = 20;
    int waiters = 300;
    int tablesPerBranch = 15;
    int comandas = 100000;
    std::uint64_t seed = 740;
};

// One value of a row: SQL NULL, a UTF-8 text or a floating-point number.
struct Value {
    enum Kind { Null, Text, Real } kind = Null;
    std::string text;
    double real = 0;

    void setNull() { kind = Null; }
    void set(std::string s) { kind = Text; text = std::move(s); }
    void set(double d) { kind = Real; real = d; }
};

// Receives the rows, table by table. begin() names the table and its columns; row() gives one row
// with a value per column.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void begin(const std::string &table, const std::vector<std::string> &columns) = 0;
    virtual void row(const std::vector<Value> &values) = 0;
    virtual void end() = 0;
};

// Fills every store table through the sink, CONSUMIDOR last but one (COMANDAVEN last).
// progress, when given, hears each table's name and row count as it is finished.
void generate(const Sizes &sizes, Sink &sink,
              const std::function<void(const std::string &, long long)> &progress = {});

// The consumer that generate() writes at position i (0-based), for the benchmarks to find it
// again: its code, badge, CPF, identity number and external code as stored.
struct ConsumerKeys {
    std::string code;
    std::string badge;
    std::string cpf;
    std::string rg;
    std::string external;
    int client = 0; // 1-based client number
};
ConsumerKeys consumerKeys(const Sizes &sizes, long long i);

std::string padded(unsigned long long n, int width);

} // namespace gendata
