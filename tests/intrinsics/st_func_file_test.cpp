// Loading the intrinsic function catalogue and the couples: every message,
// named by the number of its line.
#include <gtest/gtest.h>

#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class StFuncFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(types.LoadLines({"String = rT", "Base = simpleBT", "String = lT", "Base = simpleBT", "String = RelT",
                                 "Base = funBT", "AddArg = rT", "AddArg = rT", "Value = lT"},
                                "TYPES.DAT"));
    messages.Clear();
  }

  bool Load(const std::vector<std::string>& lines) { return stFunc.LoadIntrinsicLines(lines, "STFUNC.DAT"); }

  // The one message the load showed.
  TMessage Message() {
    EXPECT_EQ(messages.Entries().size(), 1u);
    return messages.Entries().empty() ? TMessage{} : messages.Entries().back().message;
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
  TStFunc stFunc{types, messages};
};

TMessage LineError(int line, const std::string& rus, const std::string& eng) {
  const std::string n = std::to_string(line);
  return {"Ошибка в строке "_cp + n + " файла стандартных функций:\\n "_cp + rus,
          "Error in line " + n + " of file of intrinsic functions:\\n " + eng};
}

struct ErrorCase {
  const char* title;
  std::vector<std::string> lines;
  TMessage expected;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.title; }

class StFuncFileError : public StFuncFileTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(StFuncFileError, ReportsTheLineAndFails) {
  EXPECT_FALSE(Load(GetParam().lines));
  const TMessage message = Message();
  EXPECT_EQ(message.Eng, GetParam().expected.Eng);
  EXPECT_EQ(message.Rus, GetParam().expected.Rus);
}

const TMessage kWrongNumber = {"Неверный номер стандартной функции."_cp, "Wrong number of intrinsic function."};
const TMessage kNoComma2 = {
    "Ошибка при определении визуального представления 2-го типа стандартной функции \\in:\\n на нужном месте "
    "отсутствует запятая."_cp,
    "Error in specification of second type visual form of intrinsic function \\in:\\n there is no comma in a certain "
    "position."};

INSTANTIATE_TEST_SUITE_P(
    Lines, StFuncFileError,
    ::testing::Values(
        ErrorCase{"NumberAboveTheSlots", {"Num = 224"}, LineError(1, kWrongNumber.Rus, kWrongNumber.Eng)},
        ErrorCase{"NegativeNumber", {"// c", "Num = -1"}, LineError(2, kWrongNumber.Rus, kWrongNumber.Eng)},
        ErrorCase{"NumberNotANumber", {"Num = x"}, LineError(1, kWrongNumber.Rus, kWrongNumber.Eng)},
        ErrorCase{"KeywordBeforeTheFirstNum",
                  {"", "Name = \\in", "Num = 15"},
                  LineError(2, "Описание стандартной функции должно начинаться со строки \"Num = \"."_cp,
                            "The description of an intrinsic function must begin with a \"Num = \" line.")},
        ErrorCase{"NegativePriority",
                  {"Num = 15", "Name = \\in", "Priority = -3"},
                  LineError(3, "Неверный приоритет стандартной функции \\in\\n Priority = -3"_cp,
                            "Incorrect priority of intrinsic function \\in\\n Priority = -3")},
        ErrorCase{"PriorityNotANumber",
                  {"Num = 15", "Priority = high"},
                  LineError(2, "Неверный приоритет стандартной функции \\n Priority = high"_cp,
                            "Incorrect priority of intrinsic function \\n Priority = high")},
        ErrorCase{"DefaultTypeTwice",
                  {"Num = 9", "Name = =", "DefaultConcreteType(RelT)", "DefaultConcreteType(RelT)"},
                  LineError(4, "Дважды определен тип по умолчанию стандартной функции ="_cp,
                            "The default type of intrinsic function = is twice defined.")},
        ErrorCase{"UnknownConcreteType",
                  {"Num = 9", "Name = =", "AddConcreteType( xT )"},
                  LineError(3, "Ошибка при определении типа стандартной функции =:\\n указан несуществующий тип: xT"_cp,
                            "Error in specification of type of intrinsic function =:\\n unknown type.")},
        ErrorCase{"ConcreteTypeWithoutBracket",
                  {"Num = 9", "Name = =", "AddConcreteType(RelT"},
                  LineError(3, "Ошибка при определении типа стандартной функции =:\\n отсутствует закрывающая скобка."_cp,
                            "Error in specification of type of intrinsic function =:\\n right bracket is missed.")},
        ErrorCase{"ConcreteTypeWithAnotherMarker",
                  {"Num = 9", "Name = =", "AddConcreteType(RelT):Hidden"},
                  LineError(3, "Ошибка при определении типа стандартной функции =:\\n отсутствует закрывающая скобка."_cp,
                            "Error in specification of type of intrinsic function =:\\n right bracket is missed.")},
        ErrorCase{"LettersWithoutBracket",
                  {"Num = 96", "Name = \\finite", "AddRusLetters1(конечно"_cp},
                  LineError(3,
                            "Ошибка при определении визуального представления стандартной функции \\finite:\\n "
                            "отсутствует закрывающая скобка."_cp,
                            "Error in specification of visual form of intrinsic function \\finite:\\n right bracket is "
                            "missed.")},
        ErrorCase{"AntonymLettersWithoutBracket",
                  {"Num = 96", "Name = \\finite", "AddRusAntLetters1(бесконечно"_cp},
                  LineError(3,
                            "Ошибка при определении визуального представления антонима стандартной функции "
                            "\\finite:\\n отсутствует закрывающая скобка."_cp,
                            "Error in specification of visual form of antonim's intrinsic function \\finite:\\n right "
                            "bracket is missed.")},
        ErrorCase{"TwoCharactersBeforeTheComma",
                  {"Num = 15", "Name = \\in", "AddLetters2(ab,Symbolon)"},
                  LineError(3, kNoComma2.Rus, kNoComma2.Eng)},
        ErrorCase{"AntonymTwoCharactersBeforeTheComma",
                  {"Num = 15", "Name = \\in", "AddAntLetters2(ab,Symbolon)"},
                  LineError(3, kNoComma2.Rus, kNoComma2.Eng)},
        ErrorCase{"SecondTypeTooShort",
                  {"Num = 15", "Name = \\in", "AddLetters2(a,)"},
                  LineError(3,
                            "Ошибка при определении визуального представления 2-го типа стандартной функции \\in:\\n "
                            "слишком короткое выражение."_cp,
                            "Error in specification of second type visual form of intrinsic function \\in:\\n too "
                            "short record.")},
        ErrorCase{"UnknownFont",
                  {"Num = 15", "Name = \\in", "AddLetters2(a,Courier)"},
                  LineError(3,
                            "Ошибка при определении визуального представления 2-го типа стандартной функции \\in:\\n "
                            "неизвестный шрифт: Courier"_cp,
                            "Error in specification of second type visual form of intrinsic function \\in:\\n Unknown "
                            "font: Courier")},
        ErrorCase{"SecondTypeWithoutBracket",
                  {"Num = 15", "Name = \\in", "AddLetters2(a,Symbolon"},
                  LineError(3,
                            "Ошибка при определении визуального представления стандартной функции \\in:\\n "
                            "отсутствует закрывающая скобка."_cp,
                            "Error in specification of visual form of intrinsic function \\in:\\n right bracket is "
                            "missed.")},
        ErrorCase{"HotKeyWithAltRegister",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(1,ALT)"},
                  LineError(4,
                            "Ошибка при определении горячей клавиши стандартной функции \\in:\\n неверный регистр."_cp,
                            "Error in specification of hot key of intrinsic function \\in:\\n incorrect register.")},
        ErrorCase{"HotKeyOnALetter",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(q,MAIN)"},
                  LineError(4,
                            "Ошибка при определении горячей клавиши стандартной функции \\in:\\n неверный код клавиши."_cp,
                            "Error in specification of hot key of intrinsic function \\in:\\n incorrect index of the "
                            "key.")},
        ErrorCase{"HotKeyWithoutComma",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(1MAIN)"},
                  LineError(4,
                            "Ошибка при определении горячей клавиши стандартной функции \\in:\\n на нужном месте "
                            "отсутствует запятая."_cp,
                            "Error in specification of hot key of intrinsic function \\in:\\n there is no comma in a "
                            "certain position.")},
        ErrorCase{"HotKeyTooShort",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(1,)"},
                  LineError(4,
                            "Ошибка при определении горячей клавиши стандартной функции \\in:\\n слишком короткое "
                            "выражение."_cp,
                            "Error in specification of hot key of intrinsic function \\in:\\n too short record.")},
        ErrorCase{"HotKeyWithoutBracket",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(1,MAIN"},
                  LineError(4,
                            "Ошибка при определении горячей клавиши стандартной функции \\in:\\n отсутствует "
                            "закрывающая скобка."_cp,
                            "Error in specification of hot key of intrinsic function \\in:\\n right bracket is "
                            "missed.")},
        ErrorCase{"HotKeyTakenTwice",
                  {"Num = 15", "Name = \\in", "HelpIndex=3", "MyKey(2,SHIFT)", "Num = 17", "Name = \\subset",
                   "HelpIndex=4", "MyAntKey(2,SHIFT)"},
                  LineError(8,
                            "Горячая клавиша, используемая стандартной функцией \\subset:\\n уже занята."_cp,
                            "Hot key used by intrinsic function \\subset:\\n is already used.")},
        ErrorCase{"HotKeyBeforeHelpIndex",
                  {"Num = 15", "Name = \\in", "MyKey(2,SHIFT)", "HelpIndex=3"},
                  LineError(3, "Отсутствует индекс помощи для стандартной функции \\in"_cp,
                            "Can not find help index for intrinsic function \\in")},
        ErrorCase{"UninterpretedLine",
                  {"Num = 15", "Name=\\in"},
                  LineError(2, "Неинтерпретируемая строка в файле стандартных функций:\\n Name=\\in"_cp,
                            "Unable to interpret line in the file of intrinsic functins:\\n Name=\\in")},
        ErrorCase{"BlankLinesAroundDoNotShiftNumbers",
                  {"", "  ", "Num = 15", "", "Nonsense", "", ""},
                  LineError(5, "Неинтерпретируемая строка в файле стандартных функций:\\n Nonsense"_cp,
                            "Unable to interpret line in the file of intrinsic functins:\\n Nonsense")}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(StFuncFileTest, EmptyFilesAreRefused) {
  for (const auto& lines : {std::vector<std::string>{}, std::vector<std::string>{"", "  ", ""}}) {
    messages.Clear();
    EXPECT_FALSE(Load(lines));
    EXPECT_EQ(Message(), (TMessage{"Файл стандартных функций пуст."_cp, "File STFUNC.DAT is empty."}));
  }
}

TEST_F(StFuncFileTest, ReadsEveryFieldOfAnEntry) {
  ASSERT_TRUE(Load({"// membership", "Num = 15", "Name = \\in", "Priority = 7", "SkipBeforeAndAfter",
                    "AddLetters2(\xCE,Symbolon)", "AddAntLetters2(\xCF,Symbolon)", "AddConcreteType(RelT)",
                    "DefaultConcreteType(RelT):ForbiddenAccess", "HelpIndex=200", "MyKey(,,MAIN)",
                    "MyAntKey(2,CTRL)", "MyKey1=1-10", "AddEngLetters1(ignored)", "Num = 223", "Prefix",
                    "Name = \\enumContinued", "Nary", "AddRusLetters1(в точке)"_cp, "Num = 15", "Postfix",
                    "AddAnyLetters1(ab)"}))
      << (messages.Entries().empty() ? "" : messages.Entries()[0].message.Eng);
  const TIntr& in = *stFunc.Intr(15);
  EXPECT_EQ(in.Name, "\\in");
  EXPECT_EQ(in.Priority, 7);
  EXPECT_EQ(in.Spacing, TSpacing::SkipBeforeAndAfter);
  EXPECT_EQ(in.Fixity, TFixity::Postfix);  // a later block of the same slot adds to it
  EXPECT_EQ(in.HelpIndex, 200);
  EXPECT_EQ(in.Palette, "1-10");
  ASSERT_EQ(in.Visual.size(), 3u);
  EXPECT_EQ(in.Visual[0].Code, 0xCE);
  EXPECT_EQ(in.Visual[0].Font, kMathFont);
  EXPECT_EQ(in.Visual[1].Code, 'a');
  EXPECT_EQ(in.Visual[1].Font, kPlainFont);
  ASSERT_NE(in.Antonym, nullptr);
  EXPECT_EQ(in.Antonym->Intr, &in);
  ASSERT_EQ(in.Antonym->Visual.size(), 1u);
  EXPECT_EQ(in.Antonym->Visual[0].Code, 0xCF);
  ASSERT_EQ(in.ConcreteTypes.size(), 2u);
  EXPECT_EQ(in.ConcreteTypes[0].Mode, TConcreteType::Usable);
  EXPECT_EQ(in.ConcreteTypes[1].Mode, TConcreteType::UntilDefined);
  EXPECT_EQ(in.DefaultType, types.FindType("RelT", false));
  // The comma key itself, and the antonym's key.
  EXPECT_EQ(in.HotKey, 17);
  EXPECT_EQ(in.HotRegister, 0);
  EXPECT_EQ(stFunc.HotKeyLookup(',', 0).Visual, &in.Visual);
  EXPECT_EQ(stFunc.HotKeyLookup('2', 2).Visual, &in.Antonym->Visual);
  EXPECT_EQ(stFunc.HotKeyHelp(2, 1), 200);
  EXPECT_EQ(stFunc.HotKeyLookup('q', 0).KeyIndex, 21);
  EXPECT_EQ(stFunc.HotKeyLookup('q', 0).Visual, nullptr);
  EXPECT_EQ(stFunc.HotKeyLookup('3', 0).Visual, nullptr);

  const TIntr& last = *stFunc.Intr(223);
  EXPECT_EQ(last.Fixity, TFixity::Prefix);
  EXPECT_TRUE(last.Nary);
  ASSERT_EQ(last.Visual.size(), 7u);
  EXPECT_EQ(last.Visual[1].Code, ' ');
  EXPECT_EQ(last.Visual[2].Code, static_cast<std::uint8_t>("т"_cp[0]));
}

TEST_F(StFuncFileTest, AutomaticNumbersFollowTheSlotsAndStopBeforeTheNoIntrinsicNumber) {
  std::vector<std::string> lines;
  for (int i = 0; i < 31; ++i) {
    lines.push_back("Num = auto");
    lines.push_back("Name = \\auto" + std::to_string(i));
  }
  ASSERT_TRUE(Load(lines));
  EXPECT_EQ(stFunc.FindByWord("\\auto0", false)->Number, 224);
  EXPECT_EQ(stFunc.FindByWord("\\auto30", false)->Number, 254);
  messages.Clear();
  lines.push_back("Num = auto");
  TStFunc fresh(types, messages);
  EXPECT_FALSE(fresh.LoadIntrinsicLines(lines, "STFUNC.DAT"));
  EXPECT_EQ(Message(), LineError(63, "Слишком много стандартных функций с автоматическими номерами."_cp,
                                 "Too many intrinsic functions numbered automatically."));
}

TEST_F(StFuncFileTest, MissingFilesAreReported) {
  testing::TempDir dir;
  EXPECT_FALSE(stFunc.LoadIntrinsics(dir.Path().string()));
  EXPECT_EQ(Message().Eng, "Can not open file of intrinsic functions: " + dir.Path().string() + "/STFUNC.DAT");
  messages.Clear();
  dir.Write("STFUNC.DAT", testing::CrLf({"Num = 3", "Name = +"}));
  EXPECT_FALSE(stFunc.LoadIntrinsics(dir.Path().string()));
  EXPECT_EQ(Message().Rus, "Отсутствует файл пар стандартных функций: "_cp + dir.Path().string() + "/COUPLES.DAT");
}

class CouplesTest : public StFuncFileTest {
 protected:
  void SetUp() override {
    StFuncFileTest::SetUp();
    ASSERT_TRUE(Load({"Num = 2", "Name = -", "Num = 3", "Name = +", "Num = 54", "Name = \\infty", "Num = 132",
                      "Name = \\plusInfty", "Num = 9", "Name = =", "AddLetters2(=,Symbolon)", "AddAntLetters2(\xB9,Symbolon)", "Num = 10",
                      "Name = \\NOT"}));
  }
  bool LoadCouples(const std::vector<std::string>& lines) { return stFunc.LoadCoupleLines(lines, "COUPLES.DAT"); }
};

TEST_F(CouplesTest, ReadsPositiveAndNegatedCouples) {
  ASSERT_TRUE(LoadCouples({"// plus infinity", "+", "\\infty", "\\plusInfty", "", "\\NOT", "=", "// not equal",
                           "\\NOT="}));
  ASSERT_EQ(stFunc.CouplesList.size(), 2u);
  const TCouple& plus = stFunc.CouplesList[0];
  EXPECT_EQ(plus.Parts, (std::vector<TIntr*>{stFunc.Intr(3), stFunc.Intr(54)}));
  EXPECT_EQ(plus.Result, stFunc.Intr(132));
  EXPECT_TRUE(plus.Positive);
  const TCouple& notEqual = stFunc.CouplesList[1];
  EXPECT_EQ(notEqual.Parts.front(), stFunc.Intr(10));  // "\NOT" among the parts is an ordinary word
  EXPECT_EQ(notEqual.Result, stFunc.Intr(9));
  EXPECT_FALSE(notEqual.Positive);
}

struct CoupleCase {
  const char* title;
  std::vector<std::string> lines;
  std::string eng;
};

void PrintTo(const CoupleCase& c, std::ostream* out) { *out << c.title; }

class CouplesError : public CouplesTest, public ::testing::WithParamInterface<CoupleCase> {};

TEST_P(CouplesError, ReportsTheLineAndFails) {
  EXPECT_FALSE(LoadCouples(GetParam().lines));
  EXPECT_EQ(Message().Eng, GetParam().eng);
}

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, CouplesError,
    ::testing::Values(
        CoupleCase{"TwoLines", {"+", "\\infty", "", "-", "\\infty", "-"},
                   "Error in line 3 of file COUPLES.DAT\\n number of lines in a paragraph < 3."},
        CoupleCase{"TwoLinesAtTheEnd", {"+", "\\infty", "\\plusInfty", "", "+", "\\infty"},
                   "Error in line 7 of file COUPLES.DAT\\n number of lines in a paragraph < 3."},
        CoupleCase{"BlankFirstLine", {"", "+", "\\infty", "\\plusInfty"},
                   "Error in line 1 of file COUPLES.DAT\\n number of lines in a paragraph < 3."},
        CoupleCase{"BlankLastLine", {"+", "\\infty", "\\plusInfty", ""},
                   "Error in line 5 of file COUPLES.DAT\\n number of lines in a paragraph < 3."},
        CoupleCase{"TwoBlankLinesInARow", {"+", "\\infty", "\\plusInfty", "", "", "-", "\\infty", "-"},
                   "Error in line 5 of file COUPLES.DAT\\n number of lines in a paragraph < 3."},
        CoupleCase{"UnknownPart", {"+", "\\infinity", "\\plusInfty"},
                   "Error in line 2 of file COUPLES.DAT\\n wrong mathematical word \\infinity"},
        CoupleCase{"UnknownResult", {"+", "\\infty", "\\plusInfinity"},
                   "Error in line 3 of file COUPLES.DAT\\n wrong mathematical word \\plusInfinity"},
        CoupleCase{"ResultWithoutAntonym", {"+", "\\infty", "\\NOT+"},
                   "Error in line 3 of file COUPLES.DAT\\n wrong antonim \\NOT+"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(CouplesTest, RussianTextsOfTheCouplesMessages) {
  EXPECT_FALSE(LoadCouples({"+", "\\infty", "\\NOT+"}));
  EXPECT_EQ(Message().Rus, "Ошибка в строке 3 файла пар стандартных функций:\\n Неверный антоним слово \\NOT+"_cp);
}

}  // namespace
}  // namespace lemmix
