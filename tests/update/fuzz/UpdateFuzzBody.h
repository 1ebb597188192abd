#pragma once
// What the update fuzzer does with one input; the tests replay its findings
// through the same code.

#include "update/HttpFetch.h"
#include "update/UpdateCheck.h"

namespace tarvix {

inline void ReadUpdateAnswer(const QByteArray& bytes) {
    ClassifyVersionText(AnswerBody(bytes));
    // The integer reader on any text, not only three characters.
    ClassifyVersionText(QString::fromLatin1(bytes));
    SplitUrl(QString::fromLatin1(bytes));
}

} // namespace tarvix
