// velmora-cli's commands run in this process: what they refuse, and that a refused command
// leaves every file as it was.

#include "cli/commands.h"

#include <iterator>
#include <bit>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "cli/command_line.h"
#include "common/file_io.h"
#include "support/session_parts.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status = 0;
    std::string out;
    std::string err;
};

Result Cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCommandLine(CommandTable(), args, out, err);
    return {status, out.str(), err.str()};
}

::testing::AssertionResult Has(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What a shell command prints.
std::string Piped(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return text;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    pclose(pipe);
    return text;
}

// Every regular file under a folder with its bytes (a huge one with its size).
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.file_size() > (1 << 26)) {
            files[entry.path().string()] = std::to_string(entry.file_size());
        } else if (entry.is_regular_file() && !entry.is_symlink()) {
            files[entry.path().string()] = FileText(entry.path().string());
        }
    }
    return files;
}

void WriteText(const std::string& path, const std::string& text) {
    ASSERT_TRUE(ReplaceFile(path, text)) << path;
}

// `count` rows of ten of the 80 Keno numbers, one a line.
std::string KenoRows(int count) {
    std::mt19937 random(7);
    std::string text;
    for (int r = 0; r < count; ++r) {
        std::vector<int> numbers(80);
        std::iota(numbers.begin(), numbers.end(), 1);
        std::shuffle(numbers.begin(), numbers.end(), random);
        // The first rows hold every number, so the variation is all 80.
        for (int i = 0; i < 10; ++i) {
            const int number = r < 8 ? r * 10 + i + 1 : numbers[static_cast<std::size_t>(i)];
            text += (i ? ";" : "") + std::to_string(number);
        }
        text += "\r\n";
    }
    return text;
}

// One command line, its exit status and what it prints on the output stream.
struct Call {
    std::string line;
    int status;
    std::string out;
};

// A program folder with the files the commands below are given: a good variation, a 5/90
// database, a ticket no row can meet, a ticket the engine cannot reduce, special files.
class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string h = home.Path();
        ASSERT_EQ(Run("draws import 0 @draws/otos.csv").status, 0);
        WriteText(h + "rows.csv", "1;2;3;4;5;6\r\n7;8;9;10;11;12\r\n");
        ASSERT_EQ(Run("import ~/rows.csv --game 1 --out ~/v.top").status, 0);
        std::ifstream otos(draws + "otos.csv");
        std::string first27;
        std::string line;
        for (int i = 0; i < 27 && std::getline(otos, line); ++i) {
            first27 += line + "\n";
        }
        WriteText(h + "first27.csv", first27);
        // Far more than a day on one thread of any machine: 2000 rows over C(80, 10) cases.
        WriteText(h + "keno.csv", KenoRows(2000));
        ASSERT_EQ(Run("--yes import ~/keno.csv --game 8 --out ~/keno.top").status, 0);
        SaveKeno2Ticket(h + "keno2.tip");
        WriteText(h + "existing.dat", "data");
        WriteText(h + "huge.tip", "x");
        fs::resize_file(h + "huge.tip", std::uintmax_t{1} << 36);
        ASSERT_EQ(mkfifo((h + "pipe.csv").c_str(), 0600), 0);
        fs::create_symlink("pipe.csv", h + "to-pipe.csv");
        WriteText(h + "plain", "a file, not a folder");
    }

    // Keno for 2 with one fixed number and one error point, which the ticket never makes but
    // a file may hold: the engine makes no row. Written as Keno for 3, then its game (offset
    // 16) and its numbers to choose (offset 20) changed.
    static void SaveKeno2Ticket(const std::string& path) {
        testing::SessionParts parts;
        parts.session.ApplyGame(15);
        for (int n : {1, 2, 3, 4, 5}) {
            parts.session.ClickNumber(n, MarkKind::Variation);
        }
        parts.session.ClickNumber(9, MarkKind::Fixed);
        parts.session.Conditions().errorPoints = 1;
        ASSERT_TRUE(parts.session.SaveNumberRow(path));
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(path, 1 << 20, bytes));
        bytes[16] = 16;
        bytes[20] = 1;
        ASSERT_TRUE(ReplaceFile(path, bytes));
    }

    // Runs a command on the program folder. The words are split at spaces; "~/" leading a word
    // stands for the program folder, "@draws/" and "@cli/" for the test data folders.
    Result Run(const std::string& line) {
        std::vector<std::string> args = {"--home", home.Path()};
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            for (const auto& [mark, folder] : {std::pair{std::string("~/"), home.Path()},
                                               {std::string("@draws/"), draws},
                                               {std::string("@cli/"), tickets}}) {
                if (word.starts_with(mark)) {
                    word = folder + word.substr(mark.size());
                }
            }
            args.push_back(word);
        }
        return Cli(args);
    }

    void Check(std::initializer_list<Call> calls) {
        for (const Call& call : calls) {
            const Result result = Run(call.line);
            EXPECT_EQ(result.status, call.status) << call.line << "\n" << result.err;
            EXPECT_EQ(result.out, call.out) << call.line;
        }
    }

    testing::TempHome home;
    const std::string draws = VELMORA_TEST_DRAWS;
    const std::string tickets = VELMORA_TEST_CLI_FILES;
};

TEST_F(CommandLineTest, RefusedCommandsLeaveEveryFileAsItWas) {
    const std::string h = home.Path();
    const std::string ticket = "ticket --game 1 --out ~/new.tip --numbers ";
    const struct {
        std::string line;
        int status;
        std::vector<std::string> says; // on the error stream
    } cases[] = {
        {"--yes draws import 0 ~/first27.csv",
         1,
         {"draws; a database of fewer than 250 draws counts as missing"}},
        {"--yes generate @cli/check_6_45.tip --out ~/v.top",
         1,
         {"Favorizált számok", "Számcsoport páros/páratlan aránya", "Szórás",
          "A fix számok nem vesznek részt a variációban."}},
        {"--yes generate ~/keno2.tip --out ~/v.top", 1, {"ez nem fordulhatna elő"}},
        {"--yes generate ~/v.top --out ~/v.top --export ~/x.pdf",
         1,
         {"export to .csv, .txt, .html or .tmb"}},
        {"--yes generate ~/v.top --out ~/v.top --export ~/none/x.csv",
         1,
         {"cannot write " + h + "none/x.csv"}},
        {"--yes import ~/rows.csv --game 1 --out ~/none/v.top", 1, {"cannot write"}},
        {"--yes export ~/v.top ~/to-pipe.csv", 1, {"not a regular file"}},
        {"--yes export ~/v.top ~/pipe.csv", 1, {"not a regular file"}},
        {"--yes check ~/existing.dat", 1, {"the program opens .tip, .top, .csv and .txt"}},
        {"--yes check ~/huge.tip", 1, {"Hiba történt a(z) " + h + "huge.tip megnyitása során."}},
        {"--yes test ~/keno.top --drawn 10 --threads 1",
         1,
         {"Hátralévő: több mint 1 nap", "A teszt több mint 1 napig tartana."}},
        // What the ticket dialog refuses the command refuses, with the dialog's message.
        {ticket + "1-20 --set sum.min=10", 1, {"Érvénytelen paraméter."}},
        {ticket + "1-20 --set primes.max=7", 1, {"primes.max értékhatárok:"}},
        {ticket + "2,4,6,8,10,12,14 --set ending-even-odd=on",
         1,
         {"A kijelölt számsorral nem értelmezhető a feltétel."}},
        {ticket + "1-20 --set bogus.min=1", 1, {"not a FIELD=VALUE"}},
        {ticket + "1-20 --set sum.min", 1, {"not a FIELD=VALUE"}},
        {ticket + "1-20 --error-points 6", 1, {"Hibapont"}},
        {ticket + "1-20 --error-points 1 --optimised", 1, {"--optimised needs"}},
        {ticket + "1-20,20", 1, {"number 20 is given twice"}},
        {ticket + "1-46", 1, {"not a number or range of 1..45: 1-46"}},
        {ticket + "1-20 --fixed 30,31,32,33,34", 1, {"Nem lehetséges több fix szám"}},
        {ticket + "1-20 --set number-groups.2.first=1", 1, {"number-groups.count"}},
        {"ticket --game 1 --numbers 1-20", 2, {}},
        {"ticket --game 1 --numbers 1-20 --out ~/T.top", 1, {}},
        // A draw refused as the entry dialog refuses it.
        {"draws add 0 2025 36 1 2 3 4 5", 1, {"Játékhét értékhatárok"}},
        {"draws add 0 2025 35 1 2 3 4 4", 1, {"Egy szám kétszer szerepel a számsoron."}},
        {"draws add 0 2025 35 1 2 3 4", 1, {"Jelöljön ki 5 számot a számsoron."}},
        {"draws add 0 2025 35 1 2 3 4 5 --extra 6", 1, {"Ennél a játéknál nincs plusz szám."}},
        {"draws add 0 2025 35 1 2 3 4 5 6", 2, {"draws 5 numbers"}},
        {"draws add 0 2025 x 1 2 3 4 5", 2, {"not a number"}},
        {"draws search 0 7 7", 2, {}},
        {"draws search 0 7 --extra 8", 2, {}},
        {"draws list 6", 1, {}}, // no database
        // Rows past the last, numbers that are no row, reports of what is not there.
        {"rows ~/v.top --from 3", 2, {}},
        {"check-row ~/v.top --row 1 1", 2, {}},
        {"check-row ~/v.top --row 46", 2, {}},
        {"report ~/v.top --out ~/info.doc", 2, {}},
        {"list-report --draws 6", 1, {}}, // no database
        {"list-report", 2, {}},
        {"list-report ~/v.top --draws 0", 2, {}},
        {"slips ~/keno.top --pdf ~/slips.pdf", 1, {"Több mint 1000 számsor nyomtatását kérte."}},
        {"stats 0 x", 2, {}},
    };
    const auto before = Snapshot(h);
    for (const auto& c : cases) {
        const Result result = Run(c.line);
        EXPECT_EQ(result.status, c.status) << c.line << "\n" << result.err;
        EXPECT_EQ(result.out, "") << c.line;
        for (const std::string& part : c.says) {
            EXPECT_TRUE(Has(result.err, part)) << c.line;
        }
        EXPECT_EQ(Snapshot(h), before) << c.line;
    }
    EXPECT_TRUE(fs::is_fifo(h + "pipe.csv"));
    EXPECT_TRUE(fs::is_symlink(h + "to-pipe.csv"));
}

// Where the program folder cannot be used, or an empty one is named, nothing is made.
TEST_F(CommandLineTest, AProgramFolderThatCannotBeUsed) {
    const std::string h = home.Path();
    Result result = Cli({"--home", h + "plain", "draws", "import", "0", draws + "otos.csv"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result.err, "cannot create " + h + "plain/Dat/"));
    result = Cli({"--home", "", "check", h + "v.top"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(Has(result.err, "--home needs a folder"));
}

// With --force a test longer than a day goes on: its progress shows and it is not stopped.
TEST_F(CommandLineTest, ForcedTestIsNotStoppedAtTheDayLimit) {
    const std::string log = home.Path() + "forced.log";
    const pid_t child = fork();
    if (child == 0) {
        std::ofstream err(log);
        err << std::unitbuf; // each line reaches the file before the kill
        std::ostringstream out;
        RunCommandLine(CommandTable(),
                       {"--home", home.Path(), "test", home.Path() + "keno.top", "--drawn", "10",
                        "--threads", "1", "--force"},
                       out, err);
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string text = FileText(log);
    EXPECT_TRUE(Has(text, "Hátralévő: több mint 1 nap"));
    EXPECT_EQ(text.find("A teszt több mint 1 napig tartana."), std::string::npos) << text;
}

// The rows of 6/45 over 1..20 with a sum of 50..70 and one to three primes, counted here.
long long SumAndPrimeRows() {
    const auto prime = [](int n) {
        return n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 || n == 19;
    };
    long long rows = 0;
    std::vector<bool> pick(20, false);
    std::fill(pick.begin(), pick.begin() + 6, true);
    do {
        int sum = 0;
        int primes = 0;
        for (int i = 0; i < 20; ++i) {
            sum += pick[static_cast<std::size_t>(i)] ? i + 1 : 0;
            primes += pick[static_cast<std::size_t>(i)] && prime(i + 1) ? 1 : 0;
        }
        rows += sum >= 50 && sum <= 70 && primes >= 1 && primes <= 3 ? 1 : 0;
    } while (std::prev_permutation(pick.begin(), pick.end()));
    return rows;
}

// A wheel described on the command line is the ticket that check shows and generate makes.
TEST_F(CommandLineTest, TicketRoundTripsThroughCheckAndGenerate) {
    const std::string numbers = "--yes ticket --game 1 --numbers 1-20 ";
    const std::string rest = " --set sum.fixed=0 --set sum.min=50 --set sum.max=70 "
                             "--set primes.min=1 --set primes.max=3 --out ~/T.tip";
    Result result = Run(numbers + "--fixed 30 --constant 44" + rest);
    ASSERT_EQ(result.status, 0) << result.err;
    result = Run("check ~/T.tip");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "game: Magyar 6/45 lottó\n"
                          "selected: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 44\n"
                          "fixed: 30\nconstant: 44\nrandom: -\nnumber order: Változatlan\n"
                          "error points: 0\nsum: mobile, 50-70\nprimes: 1-3\n");
    // Without the fixed number the rows are six of the twenty: counted here one by one.
    ASSERT_EQ(Run(numbers + rest).status, 0);
    result = Run("generate ~/T.tip");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find("  combinations")),
              "rows: " + std::to_string(SumAndPrimeRows()));

    result = Run("ticket --game 1 --numbers 1-20 --fields");
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* line :
         {"\nerror-points 0..5\n", "\nsum.min 21..105\n",
          "\nmirror-pairs (cannot apply to these numbers)\n", "\nspan.last 7..20\n"}) {
        EXPECT_TRUE(Has(result.out, line));
    }
}

// The rows as the list shows them, and the check ticket's counts.
TEST_F(CommandLineTest, RowsAndTheirHitsAgainstARow) {
    Check({
        {"rows ~/v.top", 0, "1: 1 2 3 4 5 6\n2: 7 8 9 10 11 12\n"},
        {"rows ~/v.top --from 2", 0, "2: 7 8 9 10 11 12\n"},
        {"check-row ~/v.top --row 1 2 3 7 8 9", 0,
         " » 6 találat:       0\n » 5 + 1    :       0\n » 5 találat:       0\n"
         " » 4 találat:       0\n » 3 találat:       2\n » 2 találat:       0\n"
         " » 1 találat:       0\n"},
    });
}

TEST_F(CommandLineTest, RowsAreSortedAndDeletedIntoAnotherFile) {
    const std::string h = home.Path();
    // Rows are ordered by the positions of their numbers on the ticket: sorted on import,
    // they follow the numbers.
    WriteText(h + "three.csv", "7;8;9;10;11;12\r\n1;2;3;4;5;6\r\n3;4;5;6;7;8\r\n");
    ASSERT_EQ(Run("--yes import ~/three.csv --game 1 --out ~/three.top").status, 0);
    Check({{"sort ~/three.top --out ~/sorted.top", 0, "rows: 3\n"},
           {"rows ~/sorted.top", 0, "1: 1 2 3 4 5 6\n2: 3 4 5 6 7 8\n3: 7 8 9 10 11 12\n"}});

    // The question is answered No unless --yes: nothing is written.
    const Result result = Run("delete-rows ~/sorted.top --from 2 --to 2 --out ~/fewer.top");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Has(result.err, "Biztos törli a kijelölt számsor(oka)t?"));
    EXPECT_FALSE(fs::exists(h + "fewer.top"));
    Check({
        {"delete-rows ~/sorted.top --out ~/fewer.top", 2, ""},
        {"delete-rows ~/sorted.top --from 3 --to 2 --out ~/fewer.top", 2, ""},
        {"--yes delete-rows ~/sorted.top --from 2 --to 2 --out ~/fewer.top", 0, "rows: 2\n"},
        {"rows ~/fewer.top", 0, "1: 1 2 3 4 5 6\n2: 7 8 9 10 11 12\n"},
        // One block only: there is no extension to delete.
        {"--yes delete-rows ~/fewer.top --last-block --out ~/fewer.top", 1, ""},
    });
}

// "Variáció minimalizálása..." from the command line: a seeded search saves a smaller
// variation whose rows still give every 5 of the 12 numbers 4 hits; a variation without error
// points is refused and nothing is written; bad limits are usage errors.
TEST_F(CommandLineTest, AVariationIsMinimisedIntoAnotherFile) {
    const std::string h = home.Path();
    for (const char* points : {"1", "0"}) {
        const std::string name = h + "reduced" + points;
        ASSERT_EQ(Cli({"--home", h, "ticket", "--game", "0", "--numbers", "1-12", "--error-points",
                       points, "--out", name + ".tip"})
                      .status,
                  0);
        ASSERT_EQ(Cli({"--home", h, "generate", name + ".tip", "--out", name + ".top"}).status, 0);
    }
    const std::string out = h + "fewer.top";
    Result result = Cli({"--home", h, "minimize", h + "reduced1.top", "--out", out, "--seconds",
                         "1", "--threads", "1", "--seed", "5"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::size_t last = result.out.rfind("rows: ");
    ASSERT_NE(last, std::string::npos);
    int rows = 0;
    ASSERT_EQ(std::sscanf(result.out.c_str() + last,
                          "rows: %d  before: 65  lower-bound: 22  ms: ", &rows),
              1)
        << result.out;
    EXPECT_LT(rows, 65);
    std::vector<std::vector<int>> saved;
    std::istringstream lines(Cli({"--home", h, "rows", out}).out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream numbers(line.substr(line.find(':') + 1));
        saved.emplace_back(std::istream_iterator<int>(numbers), std::istream_iterator<int>());
    }
    ASSERT_EQ(static_cast<int>(saved.size()), rows);
    for (int draw = 0; draw < (1 << 12); ++draw) {
        if (std::popcount(static_cast<unsigned>(draw)) != 5) {
            continue;
        }
        const bool hit = std::any_of(saved.begin(), saved.end(), [draw](const auto& row) {
            return std::count_if(row.begin(), row.end(),
                                 [draw](int n) { return (draw >> (n - 1)) & 1; }) >= 4;
        });
        ASSERT_TRUE(hit) << "draw " << draw;
    }

    const std::string refused = h + "refused.top";
    result = Cli({"--home", h, "minimize", h + "reduced0.top", "--out", refused});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Csak kész, hibapontos variáció minimalizálható."),
              std::string::npos);
    EXPECT_FALSE(fs::exists(refused));
    for (const char* seconds : {"0", "x"}) {
        EXPECT_EQ(Cli({"--home", h, "minimize", h + "reduced1.top", "--out", refused, "--seconds",
                       seconds})
                      .status,
                  2);
    }
}

// A draw entered from the command line is appended, saved, listed and found by the search.
TEST_F(CommandLineTest, DrawsAreAddedListedAndSearched) {
    Check({
        {"draws add 0 2025 35 7 17 27 37 47", 0, "3574 2025 35: 7 17 27 37 47\n"},
        {"draws list 0 --first 3573", 0,
         "3573 2025 34: 6 24 77 88 89\n3574 2025 35: 7 17 27 37 47\n"},
        {"draws search 0 7 17 27 6 24 --first 3573", 0,
         "3573 - 3574. húzások alapján.\n 5 találat:       0\n 4 találat:       0\n"
         " 3 találat:       1\n 2 találat:       1\n 1 találat:       0\n"},
    });
}

// What unrtf reads of an RTF file, as plain UTF-8 lines (its HTML, tags and entities undone).
std::string UnrtfText(const std::string& path) {
    std::string html = Piped("unrtf --html '" + path + "' 2>/dev/null");
    const std::size_t body = html.find("<body>");
    html = body == std::string::npos ? std::string() : html.substr(body + 6);
    const std::map<std::string, std::string> named = {
        {"nbsp", " "},   {"aacute", "á"}, {"eacute", "é"}, {"iacute", "í"}, {"oacute", "ó"},
        {"ouml", "ö"},   {"uacute", "ú"}, {"uuml", "ü"},   {"Aacute", "Á"}, {"Eacute", "É"},
        {"Iacute", "Í"}, {"Oacute", "Ó"}, {"Ouml", "Ö"},   {"Uacute", "Ú"}, {"Uuml", "Ü"},
        {"raquo", "»"},  {"amp", "&"},    {"lt", "<"},     {"gt", ">"},     {"#337", "ő"},
        {"#369", "ű"}};
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html.compare(i, 4, "<br>") == 0) {
            text += "\n";
            i += 4;
        } else if (html[i] == '<') {
            i = html.find('>', i) + 1;
        } else if (html[i] == '&') {
            const std::size_t end = html.find(';', i);
            const std::string name = html.substr(i + 1, end - i - 1);
            text += named.count(name) ? named.at(name) : "?";
            i = end + 1;
        } else {
            text += html[i++] == '\n' ? "" : std::string(1, html[i - 1]);
        }
    }
    return text;
}

// The condition report on the terminal, as text and as rich text that another program reads
// back whole.
TEST_F(CommandLineTest, TheConditionReportIsPrintedAndWritten) {
    const std::string h = home.Path();
    Result result = Run("report ~/v.top");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Has(result.out, "  Szelvény ára: 225 forint     Variáció költsége: 450 forint\n"));
    EXPECT_TRUE(Has(result.out, "   Magyar 6/45 lottó\n  Variációra kijelölt számsor:\n"));
    ASSERT_EQ(Run("report ~/v.top --out ~/info.txt").status, 0);
    EXPECT_EQ(FileText(h + "info.txt"), result.out);
    ASSERT_EQ(Run("report ~/v.top --out ~/infolist.rtf").status, 0);
    EXPECT_EQ(UnrtfText(h + "infolist.rtf"), result.out) << "unrtf reads it back whole";

    // The draws list report: its file read back whole as well.
    result = Run("list-report --draws 0");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Has(result.out, " Magyar 5/90 lottó nyerőszámai\n"));
    EXPECT_TRUE(Has(result.out,
                    "      1.  1957. 10.   16 - 61 - 71 - 77 - 89       2.  1957. 11.    "
                    "1 - 49 - 64 - 67 - 71\n"));
    ASSERT_EQ(Run("list-report --draws 0 --out ~/huzlist.rtf").status, 0);
    // The two texts differ only in the minute they were made (in each page header) and in the
    // page break, which a reader shows as a new page rather than as a character.
    const auto withoutHeaders = [](const std::string& text) {
        std::istringstream lines(text);
        std::string kept;
        for (std::string line; std::getline(lines, line);) {
            if (!line.starts_with(" Velmora Personal")) {
                std::erase(line, '\f');
                kept += line + "\n";
            }
        }
        return kept;
    };
    EXPECT_TRUE(withoutHeaders(UnrtfText(h + "huzlist.rtf")) == withoutHeaders(result.out));
    // The variation's list: its title, then both rows on one line.
    result = Run("list-report ~/v.top");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Has(result.out, "\n 12 szám variációja 2 számsorra\n"));
    EXPECT_TRUE(Has(result.out, "         1.  1 -  2 -  3 -  4 -  5 -  6" + std::string(20, ' ') +
                                    "2.  7 -  8 -  9 - 10 - 11 - 12\n"));
}

// The slips of a 13-row 5/90 variation: three forms, the third holding the 13th row; the PDF
// reads back with its serial texts.
TEST_F(CommandLineTest, SlipsAreFilledIntoAPdf) {
    const std::string h = home.Path();
    ASSERT_EQ(Run("ticket --game 0 --numbers 1-7 --out ~/t.tip").status, 0);
    ASSERT_EQ(Run("generate ~/t.tip --out ~/v21.top").status, 0);
    ASSERT_EQ(Run("--yes delete-rows ~/v21.top --from 14 --to 21 --out ~/v13.top").status, 0);
    Result result = Run("slips ~/v13.top --pdf ~/slips.pdf");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "forms: 3\n");
    const std::string text = Piped("pdftotext '" + h + "slips.pdf' - 2>/dev/null");
    EXPECT_TRUE(Has(text, "3. \\ 13. - 13."));
    EXPECT_TRUE(Has(text, "1. \\ 1. - 6."));
    // A test page is the first form alone.
    ASSERT_EQ(Run("slips ~/v13.top --pdf ~/slips.pdf --test-page").out, "forms: 1\n");
    // Refused: a form past the last, a joker of no kind; nothing written.
    const auto before = Snapshot(h);
    Check({
        {"slips ~/v13.top --pdf ~/slips.pdf --from 4", 2, ""},
        {"slips ~/v13.top --pdf ~/slips.pdf --joker maybe", 2, ""},
    });
    EXPECT_EQ(Snapshot(h), before);
}

// "[[x, count], ...]" over first..last with the given counts.
std::string Bars(int first, int last, const std::map<int, int>& counts) {
    std::string text = "[";
    for (int x = first; x <= last; ++x) {
        const auto it = counts.find(x);
        text += (x == first ? "[" : ", [") + std::to_string(x) + ", " +
                std::to_string(it == counts.end() ? 0 : it->second) + "]";
    }
    return text + "]";
}

// "[v1, ..., vN]" with `otherwise` where no value is given.
std::string Values(int count, const std::map<int, int>& values, int otherwise) {
    std::string text = "[";
    for (int n = 1; n <= count; ++n) {
        const auto it = values.find(n);
        text += (n == 1 ? "" : ", ") + std::to_string(it == values.end() ? otherwise : it->second);
    }
    return text + "]";
}

// Every kind, worked by hand: the first two 5/90 draws, 16 61 71 77 89 and 1 49 64 67 71, and
// a 6/45 variation of two rows, 1..6 and 7..12.
TEST_F(CommandLineTest, StatsPrintEveryKindAsTheContractLaysItOut) {
    ASSERT_EQ(Run("draws import 1 @draws/hatos.csv").status, 0);
    const auto json = [](const std::string& gameAndKind, const std::string& rest) {
        const std::size_t space = gameAndKind.find(' ');
        return "{\"game\": " + gameAndKind.substr(0, space) +
               ", \"kind\": " + gameAndKind.substr(space + 1) + ", " + rest + "}\n";
    };
    const std::string range = "\"first\": 1, \"last\": 2, \"samples\": 2, ";
    const std::map<int, int> both = {{1, 0},  {49, 0}, {64, 0}, {67, 0}, {71, 0},
                                     {16, 1}, {61, 1}, {77, 1}, {89, 1}};
    const std::map<int, int> once = {{1, 1},  {16, 1}, {49, 1}, {61, 1}, {64, 1},
                                     {67, 1}, {71, 2}, {77, 1}, {89, 1}};
    const std::string zeros8 = "[0, 0, 0, 0, 0, 0, 0, 0]";
    // Of the two draws, then of the variation: a kind and the body after the range.
    const std::pair<std::string, std::string> drawKinds[] = {
        {"0 1", "\"values\": " + Values(90, once, 0)},
        {"0 2", "\"values\": " + Values(90, both, 2)},
        {"0 4", "\"table\": [[2, 2], [0, 0], [0, 0], [0, 0], [0, 0]]"},
        {"0 5", "\"table\": [[0, 0, 0, 1, 0, 1, 0], [0, 0, 2, 0, 0, 0, 0]]"},
        {"0 6", "\"table\": [[0, 0, 2, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 0], [0, 0, 2, 0, 0, 0, 0], "
                "[0, 0, 0, 0, 0, 0, 0]]"},
        {"0 7", "\"table\": [[0, 1, 1, 0, 0, 0, 0], [0, 1, 1, 0, 0, 0, 0], [0, 0, 0, 1, 1, 0, 0]]"},
        {"0 8", "\"bars\": " + Bars(15, 440, {{252, 1}, {314, 1}})},
        {"0 9", "\"bars\": " + Bars(1, 47, {{28, 2}})},
        {"0 17", "\"bars\": " + Bars(4, 89, {{70, 1}, {73, 1}})},
    };
    const std::pair<std::string, std::string> variationKinds[] = {
        {"1 3", "\"bars\": [[1, 1], [2, 1], [3, 1], [4, 1], [5, 1], [6, 1], [7, 1], [8, 1], "
                "[9, 1], [10, 1], [11, 1], [12, 1]]"},
        {"1 10", "\"table\": [[0, 0, 0, 0, 1, 0, 0, 1], [0, 0, 0, 0, 2, 0, 0, 0]]"},
        {"1 11", "\"table\": [[0, 0, 0, 0, 0, 0, 1, 0], [0, 0, 0, 0, 0, 1, 0, 0], "
                 "[0, 2, 0, 0, 0, 0, 0, 0], " +
                     zeros8 + "]"},
        {"1 12", "\"table\": [[0, 0], [0, 0], [0, 0], [0, 0], [0, 0], [0, 0]]"},
        {"1 13", "\"table\": [[0, 1, 1, 0, 0, 0, 0, 0], [0, 2, 0, 0, 0, 0, 0, 0], "
                 "[0, 0, 0, 1, 1, 0, 0, 0]]"},
        {"1 14", "\"bars\": " + Bars(21, 255, {{21, 1}, {57, 1}})},
        {"1 15", "\"bars\": " + Bars(1, 23, {{1, 2}})},
        {"1 16", "\"bars\": " + Bars(5, 44, {{5, 2}})},
    };
    for (const auto& [kind, body] : drawKinds) {
        Check({{"stats " + kind + " --first 1 --last 2", 0, json(kind, range + body)}});
    }
    for (const auto& [kind, body] : variationKinds) {
        Check({{"stats " + kind + " --top ~/v.top", 0, json(kind, range + body)}});
    }
    // The refusals, in the contract's order; an empty range keeps every bar, each at 0; the
    // same table for a spreadsheet.
    Check({
        {"stats 24 5", 1, "{\"game\": 24, \"kind\": 5, \"error\": \"bad game\"}\n"},
        {"stats 24 18", 1, "{\"game\": 24, \"kind\": 18, \"error\": \"bad game\"}\n"},
        {"stats 0 0", 1, "{\"game\": 0, \"kind\": 0, \"error\": \"bad kind\"}\n"},
        {"stats 6 5", 1, "{\"game\": 6, \"kind\": 5, \"error\": \"no database\"}\n"},
        {"stats 0 3", 1, "{\"game\": 0, \"kind\": 3, \"error\": \"no variation\"}\n"},
        {"stats 0 3 --top ~/v.top", 1, "{\"game\": 0, \"kind\": 3, \"error\": \"no variation\"}\n"},
        {"stats 0 5 --first 0", 1, "{\"game\": 0, \"kind\": 5, \"error\": \"bad range\"}\n"},
        {"stats 0 5 --last 99999", 1, "{\"game\": 0, \"kind\": 5, \"error\": \"bad range\"}\n"},
        {"stats 0 17 --first 3 --last 2", 0,
         "{\"game\": 0, \"kind\": 17, \"first\": 3, \"last\": 2, \"samples\": 0, \"bars\": " +
             Bars(4, 89, {}) + "}\n"},
        {"stats 0 5 --first 1 --last 2 --csv", 0, "0,0,0,1,0,1,0\n0,0,2,0,0,0,0\n"},
    });
}

} // namespace
} // namespace velmora::cli
