#include "definitions/product.h"

namespace tornvel {

namespace {

struct ProductTraits {
  Product product;
  std::string_view legacyCode;
  std::string_view newCode;
  std::string_view recordedCode;
};

// The system product has no legacy form.
constexpr ProductTraits kProducts[] = {
    {Product::kSystem, "ZR5", "ZR5", "ZR5"},
    {Product::kDatabase, "ZTQ", "ZT5", "ZTQ"},
    {Product::kTransaction, "ZWQ", "ZW5", "ZWQ"},
    {Product::kIms, "ZYQ", "ZY5", "IMS"},
};

const ProductTraits* traitsOf(Product product) {
  for (const ProductTraits& traits : kProducts) {
    if (traits.product == product) return &traits;
  }
  return nullptr;
}

}  // namespace

ProductCodes productCodesFor(std::string_view zCode) {
  for (const ProductTraits& traits : kProducts) {
    if (zCode == traits.legacyCode || zCode == traits.newCode) {
      return {traits.product, std::string(traits.legacyCode), std::string(traits.newCode)};
    }
  }
  return {Product::kUnsupported, std::string(zCode), std::string(zCode)};
}

std::string recordedCode(Product product, std::string_view code) {
  const ProductTraits* traits = traitsOf(product);
  return std::string(traits != nullptr ? traits->recordedCode : code);
}

}  // namespace tornvel
