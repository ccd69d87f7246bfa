// The shipped data/STFUNC.DAT and data/COUPLES.DAT: every fixed number in its
// slot with its role, and the properties the readers and writers of formulas
// rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/type.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class StFuncData : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(types.Load(LEMMIX_DATA_DIR));
    ASSERT_TRUE(stFunc.LoadIntrinsics(LEMMIX_DATA_DIR))
        << Cp1251ToUtf8(DisplayText(messages.Entries().at(0).message.Rus));
  }
  const TIntr& F(int number) { return *stFunc.Intr(number); }

  RecordingMessages messages;
  TTypesProccess types{messages};
  TStFunc stFunc{types, messages};
};

// Every fixed number has an entry; those whose words the system's own
// templates use carry exactly those words.
TEST_F(StFuncData, FixedNumbersCarryTheirWords) {
  const std::map<int, std::string> words = {
      {0, "\\forall"}, {1, "\\exists"}, {2, "-"},       {3, "+"},      {9, "="},       {10, "\\NOT"}, {11, ">"},
      {12, "<"},       {13, "\\ge"},    {14, "\\le"},   {15, "\\in"},  {18, "\\cup"},  {23, "("},     {24, ")"},
      {27, "{"},       {28, "}"},       {31, "\\Vld"},  {33, ":"},     {35, ","},      {40, "\\Arrow"},
      {47, "\\U"},     {48, "\\L"},     {49, "\\R"},    {50, "\\Q"},   {51, "\\Z"},    {52, "\\N"},   {53, "\\N0"},
      {54, "\\infty"}, {55, "\\not"},   {58, "\\and"},  {59, "\\or"},  {77, "\\lim"},  {131, "\\false"},
      {135, "\\floor"}, {222, "\\ByDef"}};
  for (const auto& [number, word] : words) EXPECT_EQ(F(number).Name, word) << number;
  for (const int number : {2,   3,   4,   5,   6,   7,   8,   16,  17,  25,  26,  29,  30,  34,  36,  37,  38,  39,
                           41,  42,  44,  45,  60,  61,  62,  63,  74,  75,  96,  99,  100, 101, 103, 104, 105, 106,
                           114, 117, 118, 130, 132, 133, 134, 136, 137, 138, 139, 140, 141, 142, 143, 185, 186, 187,
                           211, 212, 214, 216, 221, 223})
    EXPECT_FALSE(F(number).Name.empty()) << number;
}

TEST_F(StFuncData, EverythingOutputWritesHasLetters) {
  for (const int number : {0,  1,  143, 2,  3,  9,  15,  16,  34,  55,  58,  99,  100, 103, 104, 105, 106, 117,
                           214, 221, 6, 18, 23,  24, 25, 26, 27, 28, 29, 30, 31, 33, 35, 36, 37, 39, 40, 41, 42,
                           44, 49, 54, 63, 77, 101, 118, 132, 133, 211})
    EXPECT_FALSE(F(number).Visual.empty()) << number;
  for (const auto& antonym : stFunc.AntonimList) EXPECT_FALSE(antonym->Visual.empty()) << antonym->Intr->Name;
  // The parameter signs are known by the first codes of their forms.
  EXPECT_EQ(F(221).Visual.front().Code, 221);
  EXPECT_EQ(std::count_if(stFunc.IntrList.begin(), stFunc.IntrList.end(),
                          [](const auto& f) { return !f->Visual.empty() && f->Visual.front().Code == 220; }),
            1);
}

TEST_F(StFuncData, TypesFitTheRoles) {
  // A constant used alone has exactly one type.
  for (const int number : {47, 48, 49, 50, 51, 52, 53, 54, 130, 131, 132, 133})
    EXPECT_EQ(F(number).ConcreteTypes.size(), 1u) << number;
  EXPECT_EQ(stFunc.FindByWord("\\pi", false)->ConcreteTypes.size(), 1u);
  EXPECT_EQ(F(130).ConcreteTypes[0].Type, types.FindType("lT", false));
  // Built with any number of operands.
  for (const int number : {3, 4, 58, 59, 34}) {
    const TIntr& f = F(number);
    const bool anyArity = f.ConcreteTypes.size() == 1 && f.ConcreteTypes[0].Type->Fun() &&
                          f.ConcreteTypes[0].Type->Fun()->Args.size() == 1 &&
                          f.ConcreteTypes[0].Type->Fun()->Args[0]->Name == "AnyT";
    EXPECT_TRUE(f.Nary || anyArity) << number;
  }
  // Commutative matching.
  for (const int number : {3, 4, 9})
    for (const TConcreteType& entry : F(number).ConcreteTypes)
      EXPECT_TRUE(entry.Type->Fun() && entry.Type->Fun()->Commutative) << number << " " << entry.Type->Name;
  EXPECT_FALSE(F(16).ConcreteTypes.empty());
  EXPECT_EQ(F(114).ConcreteTypes.at(0).Type, types.FindType("Set2FuncT", false));
  EXPECT_EQ(F(141).ConcreteTypes.at(0).Type, types.FindType("SetCondFuncT1", false));
  // The standard sets show the simple types.
  for (const char* id : {"nT", "n0T", "zT", "qT", "rT", "AnyT", "lT"})
    EXPECT_NE(stFunc.SetIntrinsicOfType(id)->Visual.size(), 0u) << id;
}

// The constructions with a fixed number of parts take that many arguments.
TEST_F(StFuncData, ArityOfTheFixedConstructions) {
  const std::map<int, std::size_t> arity = {{45, 3},  {99, 3},  {100, 3}, {103, 3}, {104, 3}, {105, 3}, {106, 3},
                                            {117, 3}, {214, 3}, {41, 3},  {185, 2}, {186, 2}, {187, 2}, {212, 2},
                                            {136, 2}, {137, 2}, {138, 2}, {139, 2}, {142, 2}, {114, 2}, {141, 2},
                                            {223, 2}, {140, 1}, {134, 1}, {135, 1}, {55, 1},  {0, 1},   {1, 1},
                                            {143, 1}, {7, 2},   {8, 2},   {11, 2},  {12, 2},  {13, 2},  {14, 2},
                                            {15, 2},  {17, 2},  {222, 2}};
  for (const auto& [number, count] : arity) {
    ASSERT_FALSE(F(number).ConcreteTypes.empty()) << number;
    for (const TConcreteType& entry : F(number).ConcreteTypes) {
      ASSERT_NE(entry.Type->Fun(), nullptr) << number;
      EXPECT_EQ(entry.Type->Fun()->Args.size(), count) << number << " " << entry.Type->Name;
    }
  }
}

TEST_F(StFuncData, PrioritiesLetTheParserSplitWhereTheReadersExpect) {
  for (const int number : {0, 1, 143}) EXPECT_EQ(F(number).Priority, 1) << number;
  for (const auto& f : stFunc.IntrList) {
    if (f->Fixity != TFixity::Prefix && !f->Name.empty() && f->Priority != 13) {
      EXPECT_LT(f->Priority, 12) << f->Name;
    }
  }
  EXPECT_LT(F(39).Priority, F(40).Priority);
  EXPECT_LE(F(41).Priority, F(39).Priority);
  EXPECT_LT(F(117).Priority, F(118).Priority);
  for (const int number : {99, 100, 103, 104, 105, 106}) EXPECT_LT(F(number).Priority, F(101).Priority) << number;
  EXPECT_LT(F(211).Priority, F(40).Priority);
  EXPECT_LE(F(211).Priority, F(9).Priority);
  // The usual binding: logic below relations below sums below products below powers.
  EXPECT_LT(F(8).Priority, F(59).Priority);
  EXPECT_LT(F(59).Priority, F(58).Priority);
  EXPECT_LT(F(58).Priority, F(55).Priority);
  EXPECT_LT(F(55).Priority, F(9).Priority);
  EXPECT_LT(F(9).Priority, F(3).Priority);
  EXPECT_LT(F(3).Priority, F(4).Priority);
  EXPECT_LT(F(4).Priority, F(6).Priority);
  EXPECT_EQ(F(2).Priority, F(3).Priority);
}

// Letter classes of the letter reader: 0 Latin, 1 high codes, 2 Greek, 3 digits, 4 others.
int LetterClass(const TLetter& l) {
  const bool latin = (l.Code >= 'a' && l.Code <= 'z') || (l.Code >= 'A' && l.Code <= 'Z');
  if (l.Font == kPlainFont && (latin || l.Code == '#')) return 0;
  if (l.Font == kPlainFont && l.Code >= 128) return 1;
  if (l.Font == kMathFont && latin) return 2;
  if (l.Font == kPlainFont && l.Code >= '0' && l.Code <= '9') return 3;
  return 4;
}

// The runs the letter reader cuts a form into, blanks left out.
std::vector<TLetters> Runs(const TLetters& form) {
  std::vector<TLetters> runs;
  for (std::size_t i = 0; i < form.size();) {
    std::size_t j = i + 1;
    if (LetterClass(form[i]) != 4)
      while (j < form.size() && LetterClass(form[j]) == LetterClass(form[i])) ++j;
    const TLetters run(form.begin() + i, form.begin() + j);
    if (!(run.size() == 1 && run[0].Code == ' ' && run[0].Font == kPlainFont)) runs.push_back(run);
    i = j;
  }
  return runs;
}

// A form the letter reader cannot take as one symbol must come back through a
// couple whose parts are its runs.
TEST_F(StFuncData, EveryFormReadsBackAsItsFunction) {
  const auto firstWithForm = [&](const TLetters& run) -> const TIntr* {
    for (const auto& f : stFunc.IntrList)
      if (SameGlyphs(f->Visual, run)) return f.get();
    return nullptr;
  };
  int checked = 0;
  for (const auto& f : stFunc.IntrList) {
    if (f->Visual.empty() || f->Number == 62 || f->Number == 63) continue;
    if (f->Number >= 64 && f->Number <= 73) continue;  // the digits of the keyboard read as numbers
    const std::vector<TLetters> runs = Runs(f->Visual);
    ASSERT_FALSE(runs.empty()) << f->Name;
    if (runs.size() == 1) {
      const TLetters& run = runs[0];
      const bool variable = run.size() == 1 && (LetterClass(run[0]) == 0 || LetterClass(run[0]) == 2) &&
                            !(run[0].Code == 'p' && run[0].Font == kMathFont);
      EXPECT_FALSE(variable) << f->Name << " reads as a variable";
      EXPECT_EQ(firstWithForm(run), f.get()) << f->Name << " is shadowed by an earlier form";
    } else {
      const bool viaCouple = std::any_of(stFunc.CouplesList.begin(), stFunc.CouplesList.end(), [&](const TCouple& c) {
        if (c.Result != f.get() || !c.Positive || c.Parts.size() != runs.size()) return false;
        for (std::size_t i = 0; i < runs.size(); ++i)
          if (firstWithForm(runs[i]) != c.Parts[i]) return false;
        return true;
      });
      EXPECT_TRUE(viaCouple) << f->Name << " has no couple of its words";
    }
    ++checked;
  }
  EXPECT_GT(checked, 140);
  // Antonym forms are one symbol each and differ from every form.
  for (const auto& antonym : stFunc.AntonimList) {
    EXPECT_EQ(Runs(antonym->Visual).size(), 1u) << antonym->Intr->Name;
    EXPECT_EQ(firstWithForm(antonym->Visual), nullptr) << antonym->Intr->Name;
  }
}

TEST_F(StFuncData, CouplesForTheSignedInfinities) {
  const auto couple = [&](std::vector<int> parts, int result) {
    return std::any_of(stFunc.CouplesList.begin(), stFunc.CouplesList.end(), [&](const TCouple& c) {
      std::vector<int> numbers;
      for (const TIntr* p : c.Parts) numbers.push_back(p->Number);
      return numbers == parts && c.Result->Number == result && c.Positive;
    });
  };
  EXPECT_TRUE(couple({3, 54}, 132));
  EXPECT_TRUE(couple({2, 54}, 133));
  EXPECT_TRUE(couple({stFunc.FindByWord("\\wIn", false)->Number, stFunc.FindByWord("\\wAtPoint", false)->Number}, 101));
}

// Names must read back as one word of the stored text.
TEST_F(StFuncData, NamesAreWordsOfTheStoredText) {
  const auto wordChar = [](unsigned char c) {
    return std::isalnum(c) || (c >= 0xC0) || c == 0xA8 || c == 0xB8 || c == '"';
  };
  std::set<std::string> greek(stFunc.GreekLetters.begin(), stFunc.GreekLetters.end());
  for (const auto& f : stFunc.IntrList) {
    const std::string& name = f->Name;
    if (name.empty()) continue;
    SCOPED_TRACE(name);
    if (name.size() == 1) {
      EXPECT_FALSE(wordChar(name[0]));  // a one-character separator
      EXPECT_NE(name, "#");
      continue;
    }
    ASSERT_EQ(name[0], '\\');
    EXPECT_EQ(name.find_first_of(" ,"), std::string::npos);
    EXPECT_TRUE(std::all_of(name.begin() + 1, name.end(), [&](char c) { return wordChar(c); }));
    EXPECT_FALSE(std::all_of(name.begin() + 1, name.end(), [](char c) { return std::isdigit(c); }));
    for (const char* reserved : {"\\n", "\\DataVar", "\\ProveVar", "\\LocVar"}) EXPECT_NE(name, reserved);
    if (name != "\\pi") {
      for (const std::string& word : greek) EXPECT_NE(name.rfind(word, 0), 0u) << "begins with " << word;
    }
  }
}

TEST_F(StFuncData, KeyboardAndPalette) {
  for (char digit = '0'; digit <= '9'; ++digit) {
    const TLetters* letters = stFunc.HotKeyLookup(digit, 0).Visual;
    ASSERT_NE(letters, nullptr) << digit;
    ASSERT_EQ(letters->size(), 1u);
    EXPECT_EQ((*letters)[0].Code, digit);
    EXPECT_EQ((*letters)[0].Font, kPlainFont);
  }
  int bound = 0;
  for (int reg = 0; reg < TStFunc::kRegisters; ++reg) {
    for (const char key : TStFunc::kKeyChars) {
      if (stFunc.HotKeyLookup(key, reg).Visual == nullptr) continue;
      ++bound;
      EXPECT_GE(stFunc.HotKeyHelp(reg, static_cast<int>(TStFunc::kKeyChars.find(key))), 0);
    }
  }
  EXPECT_EQ(bound, 63);
  const int subtopics[] = {3, 11, 6};
  std::set<std::string> places;
  for (const auto& f : stFunc.IntrList) {
    if (f->Palette.empty()) continue;
    int topic = -1;
    int subtopic = -1;
    ASSERT_EQ(std::sscanf(f->Palette.c_str(), "%d-%d", &topic, &subtopic), 2) << f->Name;
    ASSERT_TRUE(topic >= 0 && topic < 3) << f->Name;
    EXPECT_TRUE(subtopic >= 0 && subtopic < subtopics[topic]) << f->Name;
    places.insert(f->Palette);
  }
  EXPECT_EQ(places.size(), 20u);  // every subtopic has its words
}

// Help on a symbol of the keyboard or a word of the palette opens its page.
TEST_F(StFuncData, EveryKeyAndWordHasItsHelpPage) {
  int pages = 0;
  for (const auto& f : stFunc.IntrList) {
    if (f->HotKey < 0 && f->Palette.empty()) continue;
    const std::filesystem::path page =
        std::filesystem::path(LEMMIX_DATA_DIR) / "help" / (std::to_string(f->HelpIndex) + ".html");
    EXPECT_TRUE(std::filesystem::exists(page)) << f->Name << ": " << page;
    ++pages;
  }
  EXPECT_GE(pages, 100);
}

}  // namespace
}  // namespace lemmix
