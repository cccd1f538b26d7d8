#pragma once

// Root of the four kinds of program chain element. Each element owns the
// canvas objects that draw it and deletes them when it is destroyed.

#include <memory>
#include <vector>

class TChainElement;
class TFlowChart;

using TChainList = std::vector<std::unique_ptr<TChainElement>>;

enum class TChainElementKind { Start, End, Seq, Spot };

class TChainElement {
public:
    virtual ~TChainElement() = default;
    TChainElement(const TChainElement&) = delete;
    TChainElement& operator=(const TChainElement&) = delete;

    TChainElementKind ElementKind() const { return KindValue; }

protected:
    explicit TChainElement(TChainElementKind kind) : KindValue(kind) {}

private:
    TChainElementKind KindValue;
};
