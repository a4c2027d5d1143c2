#pragma once
// The stored fields of the two scheme records, one table per record type in column order. The
// scheme files' writer and reader, the unsaved-changes fingerprint and the database store all walk
// these tables, so a column is added in one place. Working fields (tID, tParentIs, tXST1, status)
// are no part of them.

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "scheme/scheme_codes.h"
#include "wizard/model/nav_scheme.h"
#include "wizard/model/web_scheme.h"

namespace kivwz {

// One stored field: its column and how to read and set it. A number field has number and
// setNumber, a text field text and setText; the other pair is null. Made only by NumberField and
// TextField, which set one whole pair and say which.
template <class Record>
struct SchemeField {
  int column = -1;
  Long (*number)(const Record&) = nullptr;
  void (*setNumber)(Record&, Long) = nullptr;
  const std::string& (*text)(const Record&) = nullptr;
  void (*setText)(Record&, std::string) = nullptr;
  bool numeric = false;

  constexpr bool IsNumber() const { return numeric; }
};

template <class Record>
constexpr SchemeField<Record> NumberField(int column, Long (*get)(const Record&),
                                          void (*set)(Record&, Long)) {
  return {column, get, set, nullptr, nullptr, true};
}

template <class Record>
constexpr SchemeField<Record> TextField(int column, const std::string& (*get)(const Record&),
                                        void (*set)(Record&, std::string)) {
  return {column, nullptr, nullptr, get, set, false};
}

// A field kept in a plain member of the record.
template <class Record, Long Record::*member>
constexpr SchemeField<Record> NumberMember(int column) {
  return NumberField<Record>(
      column, [](const Record& r) { return r.*member; }, [](Record& r, Long v) { r.*member = v; });
}

template <class Record, std::string Record::*member>
constexpr SchemeField<Record> TextMember(int column) {
  return TextField<Record>(
      column, [](const Record& r) -> const std::string& { return r.*member; },
      [](Record& r, std::string v) { r.*member = std::move(v); });
}

namespace scheme_fields {
namespace nav = kivdb::scheme::nav;
namespace web = kivdb::scheme::web;
using N = clsNavScheme;
using W = clsWebScheme;

// XST1's fields. The type comes before the query and the parameter, so that reading a record
// field by field drops the query of an F or N node as setting them by hand does.
inline constexpr std::array<SchemeField<N>, nav::ColumnCount> kNavFields = {
    NumberField<N>(
        nav::ID, [](const N& r) { return r.ID(); }, [](N& r, Long v) { r.ID(v); }),
    TextMember<N, &N::descriptionIs>(nav::descriptionIs),
    TextField<N>(
        nav::typeIs, [](const N& r) -> const std::string& { return r.typeIs(); },
        [](N& r, std::string v) { r.typeIs(std::move(v)); }),
    NumberMember<N, &N::parentIs>(nav::parentIs),
    TextField<N>(
        nav::queryIs, [](const N& r) -> const std::string& { return r.queryIs(); },
        [](N& r, std::string v) { r.queryIs(std::move(v)); }),
    TextField<N>(
        nav::parmIs, [](const N& r) -> const std::string& { return r.parmIs(); },
        [](N& r, std::string v) { r.parmIs(std::move(v)); }),
    TextMember<N, &N::iconIs>(nav::iconIs),
    TextMember<N, &N::roleIs>(nav::roleIs),
};

// XST2's fields.
inline constexpr std::array<SchemeField<W>, web::ColumnCount> kWebFields = {
    NumberField<W>(
        web::ID, [](const W& r) { return r.ID(); }, [](W& r, Long v) { r.ID(v); }),
    NumberMember<W, &W::XST1>(web::XST1),
    NumberMember<W, &W::seqNo>(web::seqNo),
    TextMember<W, &W::titleIs>(web::titleIs),
    TextMember<W, &W::queryIs>(web::queryIs),
    TextMember<W, &W::parmIs>(web::parmIs),
    TextMember<W, &W::typeIs>(web::typeIs),
    NumberMember<W, &W::formIs>(web::formIs),
    TextMember<W, &W::colsAre>(web::colsAre),
    TextMember<W, &W::extra>(web::extra),
};

}  // namespace scheme_fields

using scheme_fields::kNavFields;
using scheme_fields::kWebFields;

// The table of a record type, and the column names that go with it.
inline constexpr const auto& FieldsOf(const clsNavScheme*) {
  return kNavFields;
}
inline constexpr const auto& FieldsOf(const clsWebScheme*) {
  return kWebFields;
}
inline constexpr const auto& ColumnNamesOf(const clsNavScheme*) {
  return kivdb::scheme::nav::kColumnNames;
}
inline constexpr const auto& ColumnNamesOf(const clsWebScheme*) {
  return kivdb::scheme::web::kColumnNames;
}

// True when entry i is column i: a column missing from a table (or listed twice, or out of order)
// stops the build. (Whether the accessors are set is checked by the tests: comparing the
// lambdas' function pointers is not a constant expression in every build.)
template <class Record, std::size_t N>
constexpr bool CoversEveryColumn(const std::array<SchemeField<Record>, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i].column != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(CoversEveryColumn(kNavFields));
static_assert(CoversEveryColumn(kWebFields));
static_assert(kivdb::scheme::nav::typeIs < kivdb::scheme::nav::queryIs &&
              kivdb::scheme::nav::typeIs < kivdb::scheme::nav::parmIs);

// Hands every stored field of the record to the sink in column order, as sink.Number(Long) or
// sink.Text(const std::string&).
template <class Record, class Sink>
void WriteFields(const Record& record, Sink&& sink) {
  for (const SchemeField<Record>& field : FieldsOf(&record)) {
    if (field.IsNumber()) {
      sink.Number(field.number(record));
    } else {
      sink.Text(field.text(record));
    }
  }
}

// Sets every stored field of the record in column order from source.Number(column) or
// source.Text(column).
template <class Record, class Source>
void ReadFields(Record& record, Source&& source) {
  for (const SchemeField<Record>& field : FieldsOf(&record)) {
    if (field.IsNumber()) {
      field.setNumber(record, source.Number(field.column));
    } else {
      field.setText(record, source.Text(field.column));
    }
  }
}

}  // namespace kivwz
