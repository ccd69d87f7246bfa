// Loading the type catalogue: every message of the keyword and validation
// tables, with the number of the line that caused it.
#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

struct LoadResult {
  bool ok;
  std::vector<RecordingMessages::Entry> messages;
};

LoadResult LoadLines(const std::vector<std::string>& lines) {
  RecordingMessages messages;
  TTypesProccess types(messages);
  const bool ok = types.LoadLines(lines, "TYPES.DAT");
  return {ok, messages.Entries()};
}

TMessage LineError(int line, const std::string& rus, const std::string& eng) {
  return {"Ошибка в строке "_cp + std::to_string(line) + " файла типов:\\n "_cp + rus,
          "Error in line " + std::to_string(line) + " in file of types:\\n " + eng};
}

const std::string kFirstRus = "При определении типа сначала нужно задать поле String."_cp;
const std::string kFirstEng = "The first line in type specification should begin with \"String\".";

struct ErrorCase {
  const char* title;
  std::vector<std::string> lines;
  TMessage expected;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.title; }

class TypesFileError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TypesFileError, ReportsTheLineAndStops) {
  const ErrorCase& c = GetParam();
  const LoadResult result = LoadLines(c.lines);
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].kind, RecordingMessages::Kind::Error);
  EXPECT_EQ(result.messages[0].message.Eng, c.expected.Eng);
  EXPECT_EQ(result.messages[0].message.Rus, c.expected.Rus);
}

const std::vector<std::string> kReal = {"String = rT", "Base = simpleBT"};

std::vector<std::string> With(std::vector<std::string> head, std::initializer_list<std::string> tail) {
  head.insert(head.end(), tail);
  return head;
}

INSTANTIATE_TEST_SUITE_P(
    KeywordRules, TypesFileError,
    ::testing::Values(
        ErrorCase{"BaseBeforeString",
                  {"// types", "", "Base = simpleBT"},
                  LineError(3, kFirstRus, "The first line in type specification should begin with \"String\"")},
        ErrorCase{"ElementBeforeString", {"Element = rT"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"DimensionBeforeString", {"Dimension = 2"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"MayBeEmptyBeforeString", {"MayBeEmpty"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"FiniteBeforeString", {"Finite"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"AddArgBeforeString", {"AddArg = rT"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"ValueBeforeString", {"Value = rT"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"AddRestrictionBeforeString", {"AddRestriction = x"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"CommutativeBeforeString", {"Commutative"}, LineError(1, kFirstRus, kFirstEng)},
        ErrorCase{"BaseTwice",
                  {"String = X", "Base = simpleBT", "Base = setBT"},
                  LineError(3, "Повторное определение поля Base при определении типа X"_cp,
                            "The field \"Base\" is twice defined in the specification of type X")},
        ErrorCase{"UnknownBase",
                  {"String = X", "Base = boolBT"},
                  LineError(2, "При определении типа X указан неизвестный базовый тип: boolBT"_cp,
                            "In specification of type X an unknown base type is occured: boolBT")},
        ErrorCase{"UnknownElementIsTestedFirst",
                  {"String = S", "Element = foo"},
                  LineError(2, "При определении типа S указан неверный тип элементов: foo"_cp,
                            "In specification of type S an unknown element's type is occured: foo")},
        ErrorCase{"ElementBeforeBase",
                  {"String = S", "Element = S", "Base = setBT"},
                  LineError(2, "Базовый тип для типа S не допускает атрибута Element."_cp,
                            "Type S has not attribute Element.")},
        ErrorCase{"ElementOfFunction", With(kReal, {"String = F", "Base = funBT", "Element = rT"}),
                  LineError(5, "Базовый тип для типа F не допускает атрибута Element."_cp,
                            "Type F has not attribute Element.")},
        ErrorCase{"ElementTwice", With(kReal, {"String = S", "Base = setBT", "Element = rT", "Element = S"}),
                  LineError(6, "Повторное определение поля Element при определении типа S"_cp,
                            "The field \"Element\" is twice defined in the specification of type S")},
        ErrorCase{"DimensionOfSet", With(kReal, {"String = S", "Base = setBT", "Dimension = 2"}),
                  LineError(5, "Нельзя задать атрибут Dimension для невекторного типа S"_cp,
                            "Type S has not attribute Dimension.")},
        ErrorCase{"NegativeDimension", With(kReal, {"String = V", "Base = vecBT", "Dimension = -2"}),
                  LineError(5, "Размерность векторного типа V указана неверно: -2"_cp,
                            "Wrong dimension of vector type V: -2")},
        ErrorCase{
            "DimensionNotANumber", With(kReal, {"String = V", "Base = vecBT", "Dimension = x"}),
            LineError(5, "Размерность векторного типа V указана неверно: x"_cp, "Wrong dimension of vector type V: x")},
        ErrorCase{"DimensionTooLarge", With(kReal, {"String = V", "Base = vecBT", "Dimension = 99999999999"}),
                  LineError(5, "Размерность векторного типа V указана неверно: 99999999999"_cp,
                            "Wrong dimension of vector type V: 99999999999")},
        ErrorCase{
            "BadDimensionIsTestedBeforeRepetition",
            With(kReal, {"String = V", "Base = vecBT", "Dimension = 2", "Dimension = y"}),
            LineError(6, "Размерность векторного типа V указана неверно: y"_cp, "Wrong dimension of vector type V: y")},
        ErrorCase{"DimensionTwice", With(kReal, {"String = V", "Base = vecBT", "Dimension = 0", "Dimension = 3"}),
                  LineError(6, "Повторное определение размерности векторного типа V"_cp,
                            "The field \"Dimension\" is twice defined in the specification of type V")},
        ErrorCase{"MayBeEmptyOfVector",
                  {"String = V", "Base = vecBT", "MayBeEmpty"},
                  LineError(3, "Нельзя задать атрибут MayBeEmpty для немножесвенного типа V"_cp,
                            "Type V has not attribute MayBeEmpty.")},
        ErrorCase{"MayBeEmptyTwice",
                  {"String = S", "Base = setBT", "MayBeEmpty", "MayBeEmpty"},
                  LineError(4, "Повторное определение атрибута MayBeEmpty множественного типа S"_cp,
                            "The field \"MayBeEmpty\" is twice defined in the specification of type S")},
        ErrorCase{"FiniteOfList",
                  {"String = L", "Base = listBT", "Finite"},
                  LineError(3, "Нельзя задать атрибут Finite для немножесвенного типа L"_cp,
                            "Type L has not attribute Finite.")},
        ErrorCase{"FiniteTwice",
                  {"String = S", "Base = setBT", "Finite", "", "Finite"},
                  LineError(5, "Повторное определение атрибута Finite множественного типа S"_cp,
                            "The field \"Finite\" is twice defined in the specification of type S")},
        ErrorCase{"ArgumentOfSet", With(kReal, {"String = S", "Base = setBT", "AddArg = rT"}),
                  LineError(5, "Нельзя задать аргументы для нефункционального типа S"_cp, "Type S has no arguments.")},
        ErrorCase{"UnknownArgument",
                  {"String = F", "Base = funBT", "AddArg = xT"},
                  LineError(3, "При определении типа F указан неверный тип аргумента: xT"_cp,
                            "In specification of type F wrong type of argument is occured: xT")},
        ErrorCase{"ValueOfSimple",
                  {"String = rT", "Base = simpleBT", "Value = rT"},
                  LineError(3, "Нельзя задать атрибут Value для нефункционального типа rT"_cp,
                            "Type rT has not attribute Value.")},
        ErrorCase{"UnknownValueIsTestedBeforeRepetition",
                  With(kReal, {"String = F", "Base = funBT", "AddArg = rT", "Value = rT", "Value = xT"}),
                  LineError(7, "При определении типа F указан неверный тип значения: xT"_cp,
                            "In specification of type F wrong type of value is occured: xT")},
        ErrorCase{"ValueTwice", With(kReal, {"String = F", "Base = funBT", "Value = rT", "Value = rT"}),
                  LineError(6, "Повторное определение атрибута Value функционального типа F"_cp,
                            "The field \"Value\" is twice defined in the specification of type F")},
        ErrorCase{"CommutativeOfSet",
                  {"String = S", "Base = setBT", "Commutative"},
                  LineError(3, "Нельзя задать атрибут Commutative для нефункционального типа S"_cp,
                            "Type S has not attribute Commutative.")},
        ErrorCase{"CommutativeTwice",
                  {"String = F", "Base = funBT", "Commutative", "Commutative"},
                  LineError(4, "Повторное определение атрибута Commutative функционального типа F"_cp,
                            "The field \"Commutative\" is twice defined in the specification of type F")},
        ErrorCase{"RestrictionOfSet",
                  {"String = S", "Base = setBT", "AddRestriction = #1>0"},
                  LineError(3, "Нельзя задать ограничения для нефункционального типа S"_cp,
                            "Type S cann't not have restrictions.")},
        ErrorCase{"KeywordWithoutBlanks",
                  {"String=rT"},
                  LineError(1, "Неинтерпретируемая строка: String=rT"_cp, "Uninterpreted string: String=rT")},
        ErrorCase{"EmptyKeywordValue",
                  {"String = A", "Base = simpleBT", "String = "},
                  LineError(3, "Неинтерпретируемая строка: String ="_cp, "Uninterpreted string: String =")},
        ErrorCase{"FlagWithTrailingText",
                  {"String = S", "Base = setBT", "Finite set"},
                  LineError(3, "Неинтерпретируемая строка: Finite set"_cp, "Uninterpreted string: Finite set")},
        ErrorCase{"CyrillicGarbage",
                  {"  Тип = rT"_cp},
                  LineError(1, "Неинтерпретируемая строка: Тип = rT"_cp, "Uninterpreted string: " + "Тип = rT"_cp)},
        ErrorCase{"LaterErrorsAreNotRead",
                  {"String = S", "Base = setBT", "Base = setBT", "nonsense"},
                  LineError(3, "Повторное определение поля Base при определении типа S"_cp,
                            "The field \"Base\" is twice defined in the specification of type S")}),
    [](const auto& info) { return std::string(info.param.title); });

// Validation of a finished entry: at the next "String" line it carries that
// line's number; at the end of the file the number of lines + 1, and the end
// message follows.
INSTANTIATE_TEST_SUITE_P(TestTypeAtNextEntry, TypesFileError,
                         ::testing::Values(ErrorCase{"NoBase",
                                                     {"String = A", "// next", "String = B"},
                                                     LineError(3, "Для типа не определено поле Base"_cp,
                                                               "The field \"Base\" is not defined for the type")},
                                           ErrorCase{
                                               "FunctionWithoutArguments",
                                               With(kReal, {"String = F", "Base = funBT", "Value = rT", "String = G"}),
                                               LineError(6, "Функционалный тип F не имеет аргументов."_cp,
                                                         "Functional type F has no arguments.")},
                                           ErrorCase{"SetWithoutElement",
                                                     {"String = S", "Base = setBT", "MayBeEmpty", "String = T"},
                                                     LineError(4, "Не определен тип элементов типа множеств S"_cp,
                                                               "The type of elements of set type S is not defined")},
                                           ErrorCase{"VectorWithoutElement",
                                                     {"String = V", "Base = vecBT", "Dimension = 3", "String = T"},
                                                     LineError(4, "Не определен тип элементов типа векторов V"_cp,
                                                               "The type of elements of vector type V is not defined")},
                                           ErrorCase{"ListWithoutElement",
                                                     {"String = L", "Base = listBT", "String = T"},
                                                     LineError(3, "Не определен тип элементов типа списков L"_cp,
                                                               "The type of elements of list type L is not defined")}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(TypesFile, FunctionWithoutValueAtTheEndReportsBothMessages) {
  const LoadResult result = LoadLines(With(kReal, {"String = F", "Base = funBT", "AddArg = rT", "// no value", ""}));
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages[0].message, LineError(8, "Не определено значение функционалного типа F"_cp,
                                                  "The value of functional type Fis not defined"));
  EXPECT_EQ(result.messages[1].message,
            (TMessage{"Неверное окончание файла типов."_cp, "Wrong end of the file of types."}));
}

TEST(TypesFile, CatalogueWithoutEntriesIsRefused) {
  for (const auto& lines : {std::vector<std::string>{}, std::vector<std::string>{"// only", "", "   // comments"}}) {
    const LoadResult result = LoadLines(lines);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].message.Eng, "The file of types TYPES.DAT contains no type.");
  }
}

TEST(TypesFile, ReadsEveryKindOfEntry) {
  RecordingMessages messages;
  TTypesProccess types(messages);
  ASSERT_TRUE(types.LoadLines({"  String = rT  ",
                               "\tBase = simpleBT",
                               "String = L",
                               "Base = listBT",
                               "Element = L",  // an element may name the entry itself
                               "String = V",
                               "Base = vecBT",
                               "Element = rT",
                               "Dimension = 0",
                               "String = S",
                               "Base = setBT",
                               "Element = rT",
                               "Finite",
                               "MayBeEmpty",
                               "String = F",
                               "Base = funBT",
                               "AddArg = rT",
                               "AddArg = S",
                               "Value = rT",
                               "Commutative",
                               "AddRestriction = #1 > 0",
                               "AddRestriction = #2 \\ne \\emptyset"},
                              "TYPES.DAT"))
      << (messages.Entries().empty() ? "" : messages.Entries()[0].message.Eng);
  EXPECT_TRUE(messages.Entries().empty());
  ASSERT_EQ(types.Types().size(), 5u);

  TType* real = types.FindType("rT", false);
  TType* list = types.FindType("L", false);
  ASSERT_NE(list->List(), nullptr);
  EXPECT_EQ(list->List()->Element, list);

  const TVecType* vec = types.FindType("V", false)->Vec();
  ASSERT_NE(vec, nullptr);
  EXPECT_EQ(vec->Element, real);
  EXPECT_EQ(vec->Dimension, 0);

  TType* set = types.FindType("S", false);
  EXPECT_TRUE(set->Set()->Finite);
  EXPECT_TRUE(set->Set()->MayBeEmpty);

  const TFunType* fun = types.FindType("F", false)->Fun();
  ASSERT_NE(fun, nullptr);
  EXPECT_EQ(fun->Args, (std::vector<TType*>{real, set}));
  EXPECT_EQ(fun->Value, real);
  EXPECT_TRUE(fun->Commutative);
  ASSERT_TRUE(fun->Restrictions);
  EXPECT_EQ(*fun->Restrictions, (std::vector<std::string>{"#1 > 0", "#2 \\ne \\emptyset"}));
}

TEST(TypesFile, KeepsTheTypesReadBeforeTheFaultyLine) {
  RecordingMessages messages;
  TTypesProccess types(messages);
  EXPECT_FALSE(
      types.LoadLines({"String = rT", "Base = simpleBT", "String = S", "Base = setBT", "Element = qT"}, "TYPES.DAT"));
  ASSERT_EQ(types.Types().size(), 2u);
  EXPECT_EQ(types.Types()[0]->Name, "rT");
  EXPECT_EQ(types.Types()[1]->Name, "S");
}

TEST(TypesFile, RepeatedIdentifierIsShadowedByTheFirst) {
  RecordingMessages messages;
  TTypesProccess types(messages);
  ASSERT_TRUE(types.LoadLines({"String = rT", "Base = simpleBT", "String = rT", "Base = simpleBT"}, "TYPES.DAT"));
  EXPECT_EQ(types.FindType("rT", false), types.Types()[0].get());
}

TEST(TypesFile, LineNumbersFollowEveryLineBreakConvention) {
  testing::TempDir dir;
  // CR LF, a lone LF and a lone CR each end one line.
  dir.Write("TYPES.DAT", "// head\r\nString = A\nBase = simpleBT\rBase = setBT\r\n");
  RecordingMessages messages;
  TTypesProccess types(messages);
  EXPECT_FALSE(types.Load(dir.Path().string()));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng,
            "Error in line 4 in file of types:\\n The field \"Base\" is twice defined in the specification of type A");
}

TEST(TypesFile, MissingFileIsReportedWithItsPath) {
  testing::TempDir dir;
  RecordingMessages messages;
  TTypesProccess types(messages);
  EXPECT_FALSE(types.Load(dir.Path().string()));
  ASSERT_EQ(messages.Entries().size(), 1u);
  const std::string path = dir.Path().string() + "/TYPES.DAT";
  EXPECT_EQ(messages.Entries()[0].message.Eng, "File of types " + path + " is absent");
  EXPECT_EQ(messages.Entries()[0].message.Rus, "Отсутствует файл типов: "_cp + path);
}

}  // namespace
}  // namespace lemmix
