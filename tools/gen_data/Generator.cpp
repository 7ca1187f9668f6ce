#include "Generator.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace gendata {

namespace {

// splitmix64: every value is a pure function of the seed, the entity and its number, so a row can
// be rebuilt (consumerKeys) without generating the ones before it.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t draw(const Sizes &s, std::uint64_t salt, std::uint64_t i)
{
    return mix(s.seed * 0x100000001b3ULL ^ mix(salt * 0x9e3779b97f4a7c15ULL + i));
}

template <std::size_t N>
const char *pick(const std::array<const char *, N> &list, std::uint64_t r)
{
    return list[r % N];
}

const std::array<const char *, 40> kFirstNames{
    "Ana", "Maria", "José", "João", "Antônio", "Francisco", "Carlos", "Paulo", "Pedro", "Lucas",
    "Luiz", "Marcos", "Luís", "Gabriel", "Rafael", "Daniel", "Marcelo", "Bruno", "Eduardo", "Felipe",
    "Juliana", "Márcia", "Fernanda", "Patrícia", "Aline", "Sandra", "Camila", "Amanda", "Bruna", "Jéssica",
    "Letícia", "Júlia", "Luciana", "Vanessa", "Mariana", "Gabriela", "Conceição", "Raimunda", "Inês", "Cecília"};
const std::array<const char *, 40> kSurnames{
    "Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira", "Lima", "Gomes",
    "Costa", "Ribeiro", "Martins", "Carvalho", "Almeida", "Lopes", "Soares", "Fernandes", "Vieira", "Barbosa",
    "Rocha", "Dias", "Nascimento", "Andrade", "Moreira", "Nunes", "Marques", "Machado", "Mendes", "Freitas",
    "Cardoso", "Ramos", "Gonçalves", "Santana", "Teixeira", "Araújo", "Magalhães", "Conceição", "Brandão", "Assunção"};
const std::array<const char *, 16> kCompanyWords{
    "Metalúrgica", "Construtora", "Hospital", "Indústria", "Transportadora", "Colégio", "Associação",
    "Cooperativa", "Laboratório", "Frigorífico", "Têxtil", "Siderúrgica", "Mineração", "Agropecuária",
    "Universidade", "Prefeitura"};
const std::array<const char *, 16> kCompanyNames{
    "São João", "Santa Luzia", "Boa Vista", "Horizonte", "Paraná", "Três Rios", "Itaúna", "Vale Verde",
    "Nova Era", "Monte Alegre", "Bom Jesus", "Serra Azul", "Águas Claras", "Primavera", "Aurora", "Atlântico"};
const std::array<const char *, 8> kStreets{"Rua das Flores", "Avenida Brasil", "Rua XV de Novembro",
                                           "Rua Sete de Setembro", "Avenida Paulista", "Rua da Conceição",
                                           "Travessa São José", "Alameda Santos"};

struct State {
    const char *code;
    const char *name;
    const char *capital;
};
const std::array<State, 12> kStates{{{"SP", "São Paulo", "São Paulo"},
                                     {"RJ", "Rio de Janeiro", "Rio de Janeiro"},
                                     {"MG", "Minas Gerais", "Belo Horizonte"},
                                     {"RS", "Rio Grande do Sul", "Porto Alegre"},
                                     {"PR", "Paraná", "Curitiba"},
                                     {"SC", "Santa Catarina", "Florianópolis"},
                                     {"BA", "Bahia", "Salvador"},
                                     {"PE", "Pernambuco", "Recife"},
                                     {"CE", "Ceará", "Fortaleza"},
                                     {"GO", "Goiás", "Goiânia"},
                                     {"DF", "Distrito Federal", "Brasília"},
                                     {"ES", "Espírito Santo", "Vitória"}}};
constexpr int kTownsPerState = 4;
constexpr int kDistrictsPerTown = 8;
constexpr const char *kBrazil = "0055";

std::string digits(unsigned long long n, int width)
{
    return padded(n, width);
}

std::string cpfOf(unsigned long long base9)
{
    std::string d = digits(base9, 9);
    for (int round = 0; round < 2; ++round) {
        int sum = 0;
        const int len = int(d.size());
        for (int k = 0; k < len; ++k)
            sum += (d[k] - '0') * (len + 1 - k);
        const int rest = sum % 11;
        d.push_back(char('0' + (rest < 2 ? 0 : 11 - rest)));
    }
    return d;
}

// Eight digits and a check character, the last "X" when the weighted sum leaves 10; some stores
// keep it in lower case, which is why identity numbers are compared without regard to case.
std::string rgOf(unsigned long long base8, bool lowerCheck)
{
    std::string d = digits(base8, 8);
    int sum = 0;
    for (int k = 0; k < 8; ++k)
        sum += (d[k] - '0') * (k + 2);
    const int check = sum % 11;
    if (check == 10)
        d.push_back(lowerCheck ? 'x' : 'X');
    else
        d.push_back(char('0' + (check == 11 ? 0 : check)));
    return d;
}

std::string dateText(int year, int month, int day, int hour = 0, int minute = 0)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:00", year, month, day, hour, minute);
    return buffer;
}

// Every 97th consumer is a person already registered (the consumer just before) under another
// client: same badge, CPF and identity number, a consumer code and external code of its own.
bool isDuplicate(long long i)
{
    return i > 0 && i % 97 == 0;
}

int clientOf(const Sizes &s, long long i)
{
    if (isDuplicate(i))
        return clientOf(s, i - 1) % s.clients + 1;
    return int(draw(s, 1, std::uint64_t(i)) % std::uint64_t(s.clients)) + 1;
}

// Client c is linked to branch 0001 unless c is a multiple of 5; there it may sell unless c is a
// multiple of 17. Each client is also linked to one other branch.
bool linkedToFirstBranch(int client)
{
    return client % 5 != 0;
}

class Rows {
public:
    Rows(Sink &sink, const std::string &table, std::vector<std::string> columns,
         const std::function<void(const std::string &, long long)> &progress)
        : m_sink(sink), m_table(table), m_values(columns.size()), m_progress(progress)
    {
        m_sink.begin(table, columns);
    }
    ~Rows() = default;

    Value &operator[](std::size_t i) { return m_values[i]; }
    void text(std::size_t i, std::string s) { m_values[i].set(std::move(s)); }
    void real(std::size_t i, double d) { m_values[i].set(d); }
    void null(std::size_t i) { m_values[i].setNull(); }
    void emit()
    {
        m_sink.row(m_values);
        ++m_count;
    }
    void finish()
    {
        m_sink.end();
        if (m_progress)
            m_progress(m_table, m_count);
    }

private:
    Sink &m_sink;
    std::string m_table;
    std::vector<Value> m_values;
    const std::function<void(const std::string &, long long)> &m_progress;
    long long m_count = 0;
};

std::string branchCode(int b)
{
    return padded(unsigned(b), 4);
}

std::string personName(const Sizes &s, std::uint64_t salt, long long i)
{
    const std::uint64_t r = draw(s, salt, std::uint64_t(i));
    std::string name = pick(kFirstNames, r);
    name += ' ';
    name += pick(kSurnames, r >> 8);
    if ((r >> 16) % 2 == 0) {
        name += ' ';
        name += pick(kSurnames, r >> 24);
    }
    return name;
}

std::string phone(std::uint64_t r)
{
    return "(" + std::to_string(11 + r % 89) + ") 9" + padded((r >> 8) % 10000, 4) + "-" + padded((r >> 24) % 10000, 4);
}

void referenceTables(const Sizes &s, Sink &sink, const std::function<void(const std::string &, long long)> &progress)
{
    {
        Rows r(sink, "PAIS", {"CDPAIS", "NMPAIS"}, progress);
        const std::array<std::pair<const char *, const char *>, 4> countries{
            {{kBrazil, "Brasil"}, {"0054", "Argentina"}, {"0595", "Paraguai"}, {"0598", "Uruguai"}}};
        for (const auto &[code, name] : countries) {
            r.text(0, code);
            r.text(1, name);
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "ESTADO", {"CDPAIS", "SGESTADO", "NMESTADO"}, progress);
        for (const State &state : kStates) {
            r.text(0, kBrazil);
            r.text(1, state.code);
            r.text(2, state.name);
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "MUNICIPIO", {"CDPAIS", "SGESTADO", "CDMUNICIPIO", "NMMUNICIPIO"}, progress);
        for (const State &state : kStates)
            for (int t = 1; t <= kTownsPerState; ++t) {
                r.text(0, kBrazil);
                r.text(1, state.code);
                r.text(2, padded(unsigned(t), 4));
                r.text(3, t == 1 ? std::string(state.capital) : std::string(pick(kCompanyNames, std::uint64_t(t * 7 + state.code[0]))));
                r.emit();
            }
        r.finish();
    }
    {
        Rows r(sink, "BAIRRO",
               {"CDPAIS", "SGESTADO", "CDMUNICIPIO", "CDBAIRRO", "NMBAIRRO", "QTHORAENTREGA", "VRTXENTREGA"}, progress);
        for (const State &state : kStates)
            for (int t = 1; t <= kTownsPerState; ++t)
                for (int d = 1; d <= kDistrictsPerTown; ++d) {
                    const std::uint64_t h = draw(s, 30, std::uint64_t(t * 100 + d) ^ std::uint64_t(state.code[0] << 16));
                    r.text(0, kBrazil);
                    r.text(1, state.code);
                    r.text(2, padded(unsigned(t), 4));
                    r.text(3, padded(unsigned(d), 10));
                    r.text(4, std::string(d == 1 ? "Centro" : pick(kCompanyNames, h)));
                    r.text(5, padded(20 + h % 60, 4));
                    r.real(6, double(3 + h % 8) + 0.5);
                    r.emit();
                }
        r.finish();
    }
    {
        Rows r(sink, "FILIAL", {"CDFILIAL", "NMFILIAL"}, progress);
        for (int b = 1; b <= s.branches; ++b) {
            r.text(0, branchCode(b));
            r.text(1, std::string("Restaurante ") + kStates[std::size_t(b - 1) % kStates.size()].capital + " " +
                          std::to_string(b));
            r.emit();
        }
        r.finish();
    }
}

void people(const Sizes &s, Sink &sink, const std::function<void(const std::string &, long long)> &progress)
{
    {
        Rows r(sink, "CLIENTE",
               {"CDCLIENTE", "IDTPIJURCLIE", "NRINSJURCLIE", "NMRAZSOCCLIE", "NMFANTCLIE", "CDEXCLIENTE",
                "CDFILTABPREC", "CDTABEPREC"},
               progress);
        for (int c = 1; c <= s.clients; ++c) {
            const std::uint64_t h = draw(s, 10, std::uint64_t(c));
            const std::string fantasy = std::string(pick(kCompanyWords, h)) + " " + pick(kCompanyNames, h >> 8) + " " +
                                        std::to_string(c);
            r.text(0, padded(unsigned(c), 21));
            r.text(1, "J");
            r.text(2, padded(h % 100000000000000ULL, 14));
            r.text(3, fantasy + " Ltda");
            r.text(4, fantasy);
            r.text(5, "CLI" + padded(unsigned(c), 6));
            r.text(6, "0001");
            r.text(7, "001");
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "CLIENFILIAL", {"CDCLIENTE", "CDFILIAL", "IDPERMVENDAQOR", "IDCLIENPRIN"}, progress);
        for (int c = 1; c <= s.clients; ++c) {
            if (linkedToFirstBranch(c)) {
                r.text(0, padded(unsigned(c), 21));
                r.text(1, branchCode(1));
                r.text(2, c % 17 == 0 ? "N" : "S");
                r.text(3, c == 1 ? "S" : "N");
                r.emit();
            }
            if (s.branches > 1) {
                r.text(0, padded(unsigned(c), 21));
                r.text(1, branchCode(c % (s.branches - 1) + 2));
                r.text(2, "S");
                r.text(3, "N");
                r.emit();
            }
        }
        r.finish();
    }
    {
        Rows r(sink, "TIPOCONSCLI", {"CDCLIENTE", "CDTIPOCONS", "NMTIPOCONS", "IDUTSUBTCCLI", "VRPESUBTCCLI"}, progress);
        const std::array<const char *, 3> types{"Funcionário", "Terceirizado", "Visitante"};
        for (int c = 1; c <= s.clients; ++c)
            for (int t = 1; t <= 3; ++t) {
                r.text(0, padded(unsigned(c), 21));
                r.text(1, padded(unsigned(t), 2));
                r.text(2, types[std::size_t(t - 1)]);
                r.text(3, t == 1 ? "S" : "N");
                r.real(4, t == 1 ? 50.0 : 0.0);
                r.emit();
            }
        r.finish();
    }
    {
        Rows r(sink, "OPERADOR", {"CDOPERADOR", "NMOPERADOR", "CDSENHOPER", "IDOPERATIVO"}, progress);
        for (int o = 1; o <= s.waiters; ++o) {
            const std::uint64_t h = draw(s, 20, std::uint64_t(o));
            r.text(0, padded(unsigned(o), 12));
            r.text(1, personName(s, 21, o));
            // Not a usable password: benchmarks never ask for one.
            r.text(2, "pbkdf2-sha256$10000$" + padded(h % 1000000000000ULL, 16) + "$0");
            r.text(3, o % 20 == 0 ? "I" : "A");
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "FILIOPER", {"CDOPERADOR", "CDFILIAL"}, progress);
        for (int o = 1; o <= s.waiters; ++o) {
            r.text(0, padded(unsigned(o), 12));
            r.text(1, branchCode((o - 1) % s.branches + 1));
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "VENDEDOR", {"CDVENDEDOR", "NMFANVEN", "CDOPERADOR", "CDFILIAL", "CDCAIXA"}, progress);
        for (int w = 1; w <= s.waiters; ++w) {
            r.text(0, padded(unsigned(w), 4));
            r.text(1, personName(s, 21, w));
            r.text(2, padded(unsigned(w), 12));
            r.text(3, branchCode((w - 1) % s.branches + 1));
            r.text(4, padded(unsigned((w - 1) / s.branches % 3 + 1), 3));
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "MESA", {"CDFILIAL", "CDLOJA", "NRMESA", "NMMESA", "IDSTMESAAUX"}, progress);
        const std::array<const char *, 5> states{"L", "O", "R", "C", ""};
        for (int b = 1; b <= s.branches; ++b)
            for (int t = 1; t <= s.tablesPerBranch; ++t) {
                r.text(0, branchCode(b));
                r.text(1, "0001");
                r.text(2, padded(unsigned(t), 4));
                r.text(3, "Mesa " + std::to_string(t));
                r.text(4, states[std::size_t(t - 1) % states.size()]);
                r.emit();
            }
        r.finish();
    }
}

void consumers(const Sizes &s, Sink &sink, const std::function<void(const std::string &, long long)> &progress)
{
    Rows r(sink, "CONSUMIDOR",
           {"CDCLIENTE",    "CDCONSUMIDOR",  "NMCONSUMIDOR",   "VRLIMDEBCONS",   "IDSITCONSUMI",    "CDTIPOCONS",
            "CDCCUSCLIE",   "CDIDCONSUMID",  "VRAVIDEBCONS",   "CDEXCONSUMID",   "IDVERSALDCON",    "IDCONSUMIDOR",
            "CDVENDEDOR",   "VRMAXDEBCONS",  "VRLIMCREDCONS",  "VRMAXCREDCONS",  "VRAVICREDCONS",   "NRRGCONSUMID",
            "NRCPFRESPCON", "NRTELECONS",    "NRTELE2CONS",    "IDTPVENDACONS",  "IDIMPCPFCUPOM",   "IDCADCONFLIBCON",
            "DSENDECONS",   "CDRESERVAPH",   "DTCHECKINPH",    "DTCHECKOUTPH",   "DSOBSHOSPEDEPH",  "VRSUBSBASICO",
            "DTNASCCONS",   "DSCOMPLENDECONS", "NRCELULARCONS", "DSEMAILCONS",   "CDPAIS",          "SGESTADO",
            "NRCEPCONS",    "CDMUNICIPIO",   "CDBAIRRO",       "DSREFERENDECONS"},
           progress);
    for (long long i = 0; i < s.consumers; ++i) {
        const ConsumerKeys keys = consumerKeys(s, i);
        const std::uint64_t h = draw(s, 2, std::uint64_t(isDuplicate(i) ? i - 1 : i));
        const std::uint64_t g = draw(s, 3, std::uint64_t(i));
        const State &state = kStates[h % kStates.size()];
        const std::string name = personName(s, 4, isDuplicate(i) ? i - 1 : i);
        const double limit = double(100 * (1 + g % 20));
        r.text(0, padded(unsigned(keys.client), 21));
        r.text(1, keys.code);
        r.text(2, name);
        r.real(3, limit);
        r.text(4, g % 20 == 0 ? "2" : "1");
        r.text(5, padded(1 + g % 3, 2));
        r.text(6, padded(1 + (g >> 4) % 50, 10));
        r.text(7, keys.badge);
        r.real(8, limit * 0.8);
        r.text(9, keys.external);
        r.text(10, (g >> 8) % 2 ? "S" : "N");
        r.text(11, "S");
        if ((g >> 9) % 4 == 0)
            r.text(12, padded(1 + (g >> 12) % unsigned(s.waiters), 4));
        else
            r.null(12);
        r.real(13, limit * 2);
        r.real(14, 0);
        r.real(15, 0);
        r.real(16, 0);
        r.text(17, keys.rg);
        r.text(18, keys.cpf);
        r.text(19, phone(h));
        if ((g >> 20) % 3 == 0)
            r.text(20, phone(g));
        else
            r.null(20);
        r.text(21, "N");
        r.text(22, (g >> 22) % 2 ? "S" : "N");
        r.text(23, "N");
        r.text(24, std::string(pick(kStreets, h >> 8)) + ", " + std::to_string(1 + (h >> 16) % 2000));
        if ((g >> 24) % 50 == 0) {
            r.text(25, "RSV" + padded((g >> 28) % 1000000, 6));
            const int month = 1 + int(g % 12);
            const int day = 1 + int((g >> 5) % 25);
            r.text(26, dateText(2024, month, day, 14));
            r.text(27, dateText(2024, month, day + 1 + int((g >> 10) % 3), 12));
            r.text(28, "Hóspede do hotel conveniado");
        } else {
            r.null(25);
            r.null(26);
            r.null(27);
            r.null(28);
        }
        r.real(29, 0);
        r.text(30, dateText(1950 + int(h % 55), 1 + int((h >> 8) % 12), 1 + int((h >> 12) % 28)));
        if ((g >> 30) % 3 == 0)
            r.text(31, "Apto " + std::to_string(1 + (g >> 32) % 300));
        else
            r.null(31);
        r.text(32, phone(h >> 3));
        r.text(33, "consumidor" + std::to_string(i + 1) + "@exemplo.com.br");
        r.text(34, kBrazil);
        r.text(35, state.code);
        r.text(36, padded((h >> 20) % 100000, 5) + "-" + padded((h >> 40) % 1000, 3));
        r.text(37, padded(1 + (h >> 24) % kTownsPerState, 4));
        r.text(38, padded(1 + (h >> 28) % kDistrictsPerTown, 10));
        if ((g >> 34) % 4 == 0)
            r.text(39, "Próximo ao mercado");
        else
            r.null(39);
        r.emit();
    }
    r.finish();
}

void comandas(const Sizes &s, Sink &sink, const std::function<void(const std::string &, long long)> &progress)
{
    {
        Rows r(sink, "VENDAREST",
               {"CDFILIAL", "NRVENDAREST", "CDLOJA", "CDVENDEDOR", "NRMESA", "CDCONSUMIDOR", "CDCLIENTE", "DTHRABERMESA"},
               progress);
        for (long long k = 0; k < s.comandas; ++k) {
            const std::uint64_t h = draw(s, 40, std::uint64_t(k));
            const int branch = int(k % s.branches) + 1;
            r.text(0, branchCode(branch));
            r.text(1, padded(std::uint64_t(k / s.branches + 1), 10));
            r.text(2, "0001");
            // A waiter of this branch: waiters are spread over the branches in turn.
            const int rounds = std::max(1, s.waiters / s.branches);
            r.text(3, padded(unsigned(branch + int(h % unsigned(rounds)) * s.branches), 4));
            r.text(4, padded(1 + (h >> 8) % unsigned(s.tablesPerBranch), 4));
            if ((h >> 16) % 10 < 4 && s.consumers > 0) {
                const long long i = (long long)((h >> 20) % std::uint64_t(s.consumers));
                const ConsumerKeys keys = consumerKeys(s, i);
                r.text(5, keys.code);
                r.text(6, padded(unsigned(keys.client), 21));
            } else {
                r.null(5);
                r.null(6);
            }
            r.text(7, dateText(2024, 1 + int((h >> 40) % 12), 1 + int((h >> 44) % 28), 11 + int((h >> 48) % 12),
                               int((h >> 52) % 60)));
            r.emit();
        }
        r.finish();
    }
    {
        Rows r(sink, "COMANDAVEN",
               {"CDFILIAL", "NRVENDAREST", "DSCOMANDA", "NRCOMANDA", "SGSEXOCON", "DSCOMANDAPRI", "IDSTCOMANDA"}, progress);
        for (long long k = 0; k < s.comandas; ++k) {
            const std::uint64_t h = draw(s, 41, std::uint64_t(k));
            const long long number = k / s.branches + 1;
            const int kind = int(h % 100);
            const char *prefix = kind < 3 ? "RES_" : kind < 5 ? "PKR_" : kind < 7 ? "DLV_" : "";
            r.text(0, branchCode(int(k % s.branches) + 1));
            r.text(1, padded(std::uint64_t(number), 10));
            r.text(2, prefix + std::to_string(number));
            r.text(3, padded(std::uint64_t(number), 10));
            r.text(4, (h >> 8) % 2 ? "M" : "F");
            r.null(5);
            r.text(6, (h >> 12) % 10 == 0 ? "A" : "F");
            r.emit();
        }
        r.finish();
    }
}

} // namespace

std::string padded(unsigned long long n, int width)
{
    std::string s = std::to_string(n);
    if (int(s.size()) < width)
        s.insert(0, std::size_t(width) - s.size(), '0');
    return s;
}

ConsumerKeys consumerKeys(const Sizes &s, long long i)
{
    ConsumerKeys k;
    k.client = clientOf(s, i);
    k.code = padded(std::uint64_t(i + 1), 21);
    // A person under a second client keeps the badge, CPF and identity number of the first.
    const long long person = isDuplicate(i) ? i - 1 : i;
    const auto p = std::uint64_t(person);
    // Affine maps with multipliers prime to ten: distinct people get distinct numbers.
    k.badge = padded((p * 48271ULL + 1000003ULL) % 100000000ULL, 10);
    k.cpf = cpfOf((p * 7777777ULL + 123456789ULL) % 1000000000ULL);
    k.rg = rgOf((p * 3333331ULL + 20000000ULL) % 100000000ULL, person % 2 == 1);
    k.external = "EX" + padded((std::uint64_t(i) * 1234567ULL + 99ULL) % 1000000000ULL, 9);
    return k;
}

void generate(const Sizes &sizes, Sink &sink, const std::function<void(const std::string &, long long)> &progress)
{
    referenceTables(sizes, sink, progress);
    people(sizes, sink, progress);
    consumers(sizes, sink, progress);
    comandas(sizes, sink, progress);
}

} // namespace gendata
