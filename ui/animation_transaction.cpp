#include "ui/animation_transaction.h"

#include <vector>

namespace vt {

namespace {

std::vector<Transaction>& stack() {
    thread_local std::vector<Transaction> transactions;
    return transactions;
}

} // namespace

const Transaction& currentTransaction() {
    static const Transaction outside{};
    const auto& s = stack();
    return s.empty() ? outside : s.back();
}

TransactionScope::TransactionScope(const Transaction& transaction) {
    stack().push_back(transaction);
}

TransactionScope::~TransactionScope() {
    stack().pop_back();
}

} // namespace vt
