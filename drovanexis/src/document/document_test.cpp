// The document model: schema order whatever the call order, absent values,
// sub-node fields, the registry, and the output rules.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "document/document_registry.h"
#include "document/output_rules.h"
#include "document/tree_building.h"

namespace drovanexis {
namespace {

std::vector<std::string> attribute_names(const Element& element) {
  std::vector<std::string> names;
  for (const auto& a : element.attributes()) names.push_back(a.name);
  return names;
}

std::vector<std::string> child_names(const Element& element) {
  std::vector<std::string> names;
  for (const auto& c : element.children()) names.push_back(c->name());
  return names;
}

TEST(TreeBuilding, AttributesAndChildrenLandInSchemaOrder) {
  Element root("cfdi:Comprobante");
  const Node comprobante = Node::root(root);
  comprobante.set("Total", "1");
  comprobante.set("Version", "3.3");
  comprobante.set("Sello", "AAAA");
  comprobante.set("Serie", "A");
  comprobante.child("cfdi:Impuestos");
  comprobante.child("cfdi:Emisor");
  comprobante.child("cfdi:Complemento");
  comprobante.child("cfdi:CfdiRelacionados");
  EXPECT_EQ(attribute_names(root),
            (std::vector<std::string>{"Version", "Serie", "Sello", "Total"}));
  EXPECT_EQ(child_names(root), (std::vector<std::string>{"cfdi:CfdiRelacionados", "cfdi:Emisor",
                                                         "cfdi:Impuestos", "cfdi:Complemento"}));
}

TEST(TreeBuilding, TaxListsFollowTheOrderOfTheirParent) {
  // A Concepto lists Traslados before Retenciones; the document the reverse.
  Element root("cfdi:Comprobante");
  const Node comprobante = Node::root(root);
  const Node line_taxes =
      comprobante.child("cfdi:Conceptos").add("cfdi:Concepto").child("cfdi:Impuestos");
  line_taxes.child("cfdi:Retenciones");
  line_taxes.child("cfdi:Traslados");
  const Node document_taxes = comprobante.child("cfdi:Impuestos");
  document_taxes.child("cfdi:Traslados");
  document_taxes.child("cfdi:Retenciones");
  EXPECT_EQ(child_names(line_taxes.element()),
            (std::vector<std::string>{"cfdi:Traslados", "cfdi:Retenciones"}));
  EXPECT_EQ(child_names(document_taxes.element()),
            (std::vector<std::string>{"cfdi:Retenciones", "cfdi:Traslados"}));
}

TEST(TreeBuilding, RepeatedChildrenKeepCallOrderBeforeLaterKinds) {
  Element figura("cartaporte20:TiposFigura");
  const Node node(figura,
                  element_order("cartaporte20:FiguraTransporte", "cartaporte20:TiposFigura"));
  node.add("cartaporte20:Domicilio");
  node.add("cartaporte20:PartesTransporte").set("ParteTransporte", "PT01");
  node.add("cartaporte20:PartesTransporte").set("ParteTransporte", "PT02");
  ASSERT_EQ(child_names(figura),
            (std::vector<std::string>{"cartaporte20:PartesTransporte",
                                      "cartaporte20:PartesTransporte", "cartaporte20:Domicilio"}));
  EXPECT_EQ(*figura.children()[0]->attribute("ParteTransporte"), "PT01");
  EXPECT_EQ(*figura.children()[1]->attribute("ParteTransporte"), "PT02");
}

TEST(TreeBuilding, FillSkipsAbsentValuesAndMakesSubNodesOnlyWhenNeeded) {
  constexpr Field fields[] = {{"", "PermSCT"},
                              {"", "NumPermisoSCT"},
                              {"cartaporte20:IdentificacionVehicular", "PlacaVM"},
                              {"cartaporte20:Seguros", "AseguraCarga"},
                              {"cartaporte20:Remolques/cartaporte20:Remolque", "Placa"},
                              {"cartaporte20:Remolques/cartaporte20:Remolque[2]", "Placa"}};
  Element autotransporte("cartaporte20:Autotransporte");
  const Node node(autotransporte,
                  element_order("cartaporte20:Mercancias", "cartaporte20:Autotransporte"));
  // The last value is missing altogether (a shorter call): it counts as absent.
  fill(node, fields, Values{"TPAF01", "", "PLAC892", "", "PAX1"});
  EXPECT_EQ(attribute_names(autotransporte), (std::vector<std::string>{"PermSCT"}));
  EXPECT_EQ(
      child_names(autotransporte),
      (std::vector<std::string>{"cartaporte20:IdentificacionVehicular", "cartaporte20:Remolques"}));
  EXPECT_EQ(autotransporte.children()[1]->children().size(), 1u);

  // Set again: a value now absent is removed, a second trailer is added.
  fill(node, fields, Values{"", "X", "PLAC892", "", "PAX1", "PAX2"});
  EXPECT_EQ(attribute_names(autotransporte), (std::vector<std::string>{"NumPermisoSCT"}));
  EXPECT_EQ(autotransporte.children()[1]->children().size(), 2u);
}

TEST(DocumentRegistry, HandlesAreNotReusedAfterRelease) {
  auto& registry = DocumentRegistry::instance();
  const std::int32_t first = registry.create("3.3");
  ASSERT_TRUE(registry.release(first));
  EXPECT_FALSE(registry.release(first));
  const std::int32_t second = registry.create("");
  EXPECT_NE(second, first);
  EXPECT_EQ(registry.find(first), nullptr);
  ASSERT_NE(registry.find(second), nullptr);
  EXPECT_EQ(*registry.find(second)->root.attribute("Version"), "3.3");
  bool visited = false;
  EXPECT_TRUE(registry.with_document(second, [&](Document&) { visited = true; }));
  EXPECT_TRUE(visited);
  EXPECT_FALSE(registry.with_document(first, [&](Document&) { FAIL(); }));
  registry.release(second);
}

// A call that takes long on one document (processing) must not hold up calls
// on another, and a document released during a call lives until it ends.
TEST(DocumentRegistry, ACallOnOneDocumentDoesNotStallAnother) {
  auto& registry = DocumentRegistry::instance();
  const std::int32_t slow = registry.create("3.3");
  const std::int32_t other = registry.create("3.3");
  std::promise<void> inside;
  std::promise<void> finish;
  std::thread slow_call([&] {
    registry.with_document(slow, [&](Document& document) {
      inside.set_value();
      finish.get_future().wait();
      document.service_user = "still alive";
    });
  });
  inside.get_future().wait();
  bool other_done = false;
  EXPECT_TRUE(registry.with_document(other, [&](Document&) { other_done = true; }));
  EXPECT_TRUE(other_done);
  EXPECT_TRUE(registry.release(slow));  // while its call still runs
  EXPECT_EQ(registry.find(slow), nullptr);
  finish.set_value();
  slow_call.join();
  registry.release(other);
}

TEST(OutputRules, ZeroAmounts) {
  for (const char* zero : {"0", "0.00", "000.0", "0."}) EXPECT_TRUE(is_zero_amount(zero)) << zero;
  for (const char* other : {"", ".", "0.01", "1", "-0", " 0", "0,00", "0.0.0"}) {
    EXPECT_FALSE(is_zero_amount(other)) << other;
  }
}

TEST(OutputRules, DescuentoOfZeroIsLeftOutOnlyForTransferAndPaymentReceipts) {
  struct Case {
    const char* tipo;
    const char* descuento;
    bool kept;
  };
  for (const Case c : {Case{"T", "0.00", false}, Case{"P", "0", false}, Case{"I", "0.00", true},
                       Case{"N", "0.00", true}, Case{"T", "1.00", true}}) {
    Element comprobante("cfdi:Comprobante");
    comprobante.set_attribute("Descuento", c.descuento);
    comprobante.set_attribute("TipoDeComprobante", c.tipo);
    omit_valueless_descuento(comprobante);
    EXPECT_EQ(comprobante.attribute("Descuento") != nullptr, c.kept)
        << c.tipo << " " << c.descuento;
  }
}

TEST(OutputRules, PrepareForSealingReplacesOnlyThePlaceholderDate) {
  Element placeholder("cfdi:Comprobante");
  placeholder.set_attribute("Fecha", "%cb_date");
  prepare_for_sealing(placeholder, "2021-12-01T10:15:00");
  EXPECT_EQ(*placeholder.attribute("Fecha"), "2021-12-01T10:15:00");

  Element given("cfdi:Comprobante");
  given.set_attribute("Fecha", "2020-01-01T00:00:00");
  prepare_for_sealing(given, "2021-12-01T10:15:00");
  EXPECT_EQ(*given.attribute("Fecha"), "2020-01-01T00:00:00");
}

TEST(OutputRules, CentralMexicoTimeIsSixHoursBehindUtc) {
  using namespace std::chrono;
  const sys_days day = 2024y / January / 1d;
  EXPECT_EQ(central_mexico_time(day + hours(3) + minutes(4) + seconds(5)), "2023-12-31T21:04:05");
  EXPECT_EQ(central_mexico_time(day + hours(18)), "2024-01-01T12:00:00");
}

}  // namespace
}  // namespace drovanexis
