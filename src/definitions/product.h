// The four products whose profiles the tool migrates, each with the codes it
// goes by. The product is settled once, from the command line's product
// argument, and carried by the run and by every definition it creates.
#ifndef TORNVEL_DEFINITIONS_PRODUCT_H_
#define TORNVEL_DEFINITIONS_PRODUCT_H_

#include <string>
#include <string_view>

namespace tornvel {

enum class Product {
  kSystem,       // R5: sectioned profile with workload service classes
  kDatabase,     // T5 (legacy TQ): plain threshold list
  kTransaction,  // W5 (legacy WQ): numbered records
  kIms,          // Y5 (legacy YQ): threshold statements with synonym groups
  kUnsupported,  // any other code: accepted by the command line, refused later
};

// The codes of one product, each with "Z" before the product argument.
struct ProductCodes {
  Product product = Product::kUnsupported;
  std::string code;      // the legacy-family code: first control file, banner
  std::string fileCode;  // the new-family code: output and advice file names
};

// The product argument upper-cased with "Z" before it, in either family's form,
// mapped to its product; a code outside the four keeps itself in both forms.
ProductCodes productCodesFor(std::string_view zCode);

// The code that definitions record as their product and that names their
// default situations: the legacy code, except "IMS" for the IMS product. An
// unsupported product records `code` as typed.
std::string recordedCode(Product product, std::string_view code);

}  // namespace tornvel

#endif  // TORNVEL_DEFINITIONS_PRODUCT_H_
