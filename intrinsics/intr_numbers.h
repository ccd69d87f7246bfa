// The numbers of the intrinsic functions that the program itself relies on:
// the catalogue (STFUNC.DAT) must hold each of them in its fixed slot.
#pragma once

namespace lemmix {

enum IntrNumber : int {
  kForall = 0, kExists = 1, kMinus = 2, kPlus = 3, kTimes = 4, kDivide = 5, kPower = 6, kImplies = 7, kIff = 8,
  kEq = 9, kAntonymSign = 10, kGt = 11, kLt = 12, kGe = 13, kLe = 14, kIn = 15, kLambda = 16, kSubset = 17,
  kUnion = 18, kLeftRound = 23, kRightRound = 24, kLeftSquare = 25, kRightSquare = 26, kLeftBrace = 27,
  kEmptySet = 19, kSubsetOrEqual = 22, kUniverse = 47, kNaturalsWithZero = 53, kIdentity = 61, kFinite = 96,
  kRightBrace = 28, kSubscript = 29, kRange = 30, kVld = 31, kColon = 33, kTuple = 34, kComma = 35,
  kSemicolon = 36, kBar = 37, kDot = 38, kFuncSpec = 39, kArrow = 40, kOneToOne = 41, kCartesian = 42,
  kDerivativeMark = 44, kDerivative = 45, kReals = 49, kInfinity = 54, kNot = 55, kAnd = 58, kOr = 59,
  kParameters = 60, kBlank = 62, kNestedSeparator = 63, kLim = 77, kHasLimit = 99, kContinuousOnAt = 100,
  kAtPoint = 101, kHasLeftLimit = 103, kHasRightLimit = 104, kContinuousLeftOnAt = 105,
  kContinuousRightOnAt = 106, kImage = 114, kInverse = 117, kOnSet = 118, kTrue = 130, kFalse = 131,
  kPlusInfinity = 132, kMinusInfinity = 133, kAbs = 134, kFloor = 135, kSegment = 136, kInterval = 137,
  kClosedOpen = 138, kOpenClosed = 139, kEnum = 140, kSetOf = 141, kIntSegment = 142, kExistsOne = 143,
  kLimF = 185, kLimLeft = 186, kLimRight = 187, kAs = 211, kEqualAs = 212, kSum = 214, kProduct = 182, kEllipsis = 216,
  kClassSign = 221, kByDef = 222, kEnumMore = 223, kIntersection = 20, kSetMinus = 21,
  kCompose = 43
};

// The predicates written "f P a \AtPoint x": their third argument follows the key word "at point".
constexpr bool IsAtPointPredicate(int n) {
  switch (n) {
    case kHasLimit: case kContinuousOnAt: case kHasLeftLimit: case kHasRightLimit: case kContinuousLeftOnAt:
    case kContinuousRightOnAt: return true;
    default: return false;
  }
}

}  // namespace lemmix
