#include "control/BreakConditionText.h"

namespace tessaly {

namespace {

const char* OperatorText(CompareOp op) {
    switch (op) {
    case CompareOp::Equal: return "==";
    case CompareOp::NotEqual: return "!=";
    case CompareOp::Less: return "<";
    case CompareOp::LessEqual: return "<=";
    case CompareOp::Greater: return ">";
    case CompareOp::GreaterEqual: return ">=";
    case CompareOp::AnyBitOf: return "&";
    }
    return "==";
}

}  // namespace

std::string BreakConditionText(const BreakCondition& condition) {
    return condition.left + " " + OperatorText(condition.op) + " " + std::to_string(condition.right);
}

std::string HitConditionText(const HitCondition& hits) {
    const std::string count = std::to_string(hits.count);
    switch (hits.kind) {
    case HitCondition::Kind::Equal: return count;
    case HitCondition::Kind::AtLeast: return ">=" + count;
    case HitCondition::Kind::Greater: return ">" + count;
    case HitCondition::Kind::Every: return "%" + count;
    }
    return count;
}

}  // namespace tessaly
