// numeron._numeron: a component object for Python. The object is created by program identifier
// through the registration file (its library is loaded, never linked), its members are called
// by dispatch identifier with Variants made from Python values, and failures come back as
// Python exceptions. The package (numeron/__init__.py) builds names, signatures and help on top.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace py = pybind11;
using namespace numeron::platform;

namespace {

// A name of the numeron package (HugeNumber, Ref, Error); looked up when a call needs it, by
// which time the package has finished importing.
py::object Package(const char* name) { return py::module_::import("numeron").attr(name); }

// Texts cross as UTF-8; bytes that are not UTF-8 travel as lone surrogates and come back intact.
py::str PyText(std::string_view text) {
  auto decoded = py::reinterpret_steal<py::str>(
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape"));
  if (!decoded) throw py::error_already_set();
  return decoded;
}
std::string Utf8(py::handle text) {
  auto bytes = py::reinterpret_steal<py::bytes>(
      PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape"));
  if (!bytes) throw py::error_already_set();
  return bytes;
}

[[noreturn]] void RaiseError(std::int32_t number, const std::string& description) {
  py::object error = Package("Error")(number, PyText(description));
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

template <typename T>
bool Within(long long n) {
  return n >= std::numeric_limits<T>::min() && n <= std::numeric_limits<T>::max();
}

// An int as the narrowest integer kind that holds it, beyond 32 bits as its exact text; an
// enumeration member as a Long, the kind the type library gives enumerations.
Variant IntToVariant(py::handle value) {
  int overflow = 0;
  const long long n = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (n == -1 && PyErr_Occurred()) throw py::error_already_set();
  const bool enumeration = py::isinstance(value, py::module_::import("enum").attr("Enum"));
  if (!overflow && !enumeration && Within<std::int16_t>(n)) return Variant(std::int16_t(n));
  if (!overflow && Within<std::int32_t>(n)) return Variant(std::int32_t(n));
  auto text = py::reinterpret_steal<py::str>(PyNumber_ToBase(value.ptr(), 10));
  if (!text) throw py::error_already_set();
  return Variant(std::string(text));
}

// A HugeNumber as the array it stands for: 16-bit digits, or Variant elements (None empty).
Variant HugeNumberToVariant(py::handle number) {
  VariantArray array;
  array.lower_bound = number.attr("lower_bound").cast<std::int32_t>();
  const auto digits = number.attr("digits").cast<py::tuple>();
  if (number.attr("variant_elements").cast<bool>()) {
    array.element_kind = VariantArray::ElementKind::Variant;
    for (py::handle d : digits) {
      Variant& element = array.elements.emplace_back();
      if (!d.is_none()) element = Variant(d.cast<std::int16_t>());
    }
  } else {
    array.digits.reserve(digits.size());
    for (py::handle d : digits) array.digits.push_back(d.cast<std::int16_t>());
  }
  return Variant(std::move(array));
}

Variant ToVariant(py::handle value) {
  if (value.is_none()) return Variant::Missing();
  if (py::isinstance<py::bool_>(value)) return Variant(value.cast<bool>());
  if (PyLong_Check(value.ptr())) return IntToVariant(value);
  if (PyFloat_Check(value.ptr())) return Variant(value.cast<double>());
  if (PyUnicode_Check(value.ptr())) return Variant(Utf8(value));
  if (py::isinstance(value, py::module_::import("decimal").attr("Decimal"))) {
    return Variant(std::string(py::str(value)));  // exact: digits and exponent as they are
  }
  if (py::isinstance(value, Package("HugeNumber"))) return HugeNumberToVariant(value);
  throw py::type_error("a member cannot take a value of type " +
                       std::string(py::str(value.get_type().attr("__name__"))));
}

py::object ElementToPython(const Variant& element) {
  if (element.is(VariantKind::Empty)) return py::none();
  if (element.is(VariantKind::Int16)) return py::int_(element.int16());
  throw py::type_error("an array element " + Describe(element) + " is no digit");
}

py::object ToPython(const Variant& value) {
  switch (value.kind()) {
    case VariantKind::Empty:
    case VariantKind::Missing:
      return py::none();
    case VariantKind::Boolean:
      return py::bool_(value.boolean());
    case VariantKind::Int16:
      return py::int_(value.int16());
    case VariantKind::Int32:
      return py::int_(value.int32());
    case VariantKind::Double:
      return py::float_(value.real());
    case VariantKind::Text:
      return PyText(value.text());
    case VariantKind::Array:
      break;
  }
  const VariantArray& array = value.array();
  const bool shorts = array.element_kind == VariantArray::ElementKind::Int16;
  py::tuple digits(static_cast<std::size_t>(array.size()));
  for (std::size_t i = 0; i < digits.size(); ++i) {
    digits[i] = shorts ? py::int_(array.digits[i]) : ElementToPython(array.elements[i]);
  }
  return Package("HugeNumber")(digits, array.lower_bound, !shorts);
}

// The arguments of a call: values by value (None: missing), a Ref's variable by reference.
struct CallArguments {
  explicit CallArguments(const py::list& values) : variables(values.size()), sent(values.size()) {
    const py::object ref_class = Package("Ref");
    for (std::size_t i = 0; i < values.size(); ++i) {
      const py::object given = values[i];
      const bool by_ref = py::isinstance(given, ref_class);
      refs.push_back(by_ref ? given : py::none());
      // A Ref holding None is an empty variable, which the member may write into.
      const py::object value = by_ref ? given.attr("value") : given;
      variables[i] = by_ref && value.is_none() ? Variant() : ToVariant(value);
      if (by_ref) sent[i] = variables[i];
      arguments.push_back(by_ref ? Argument::ByRef(variables[i])
                                 : Argument::ByValue(std::move(variables[i])));
    }
  }
  // Hands each Ref what the member wrote into its variable; a Ref left alone keeps its value.
  void WriteBack() {
    for (std::size_t i = 0; i < refs.size(); ++i) {
      if (!refs[i].is_none() && variables[i] != sent[i]) {
        refs[i].attr("value") = ToPython(variables[i]);
      }
    }
  }
  std::vector<Variant> variables;  // never resized: the Refs' arguments point into it
  std::vector<Variant> sent;       // what each Ref held, to tell what the member changed
  std::vector<py::object> refs;
  std::vector<Argument> arguments;
};

// One object; calls on it take turns (the object serves one call at a time), without the GIL.
class Object {
 public:
  static Object Create(const std::string& prog_id) {
    Object object;
    std::string why;
    HResult status = kOk;
    {
      py::gil_scoped_release unlocked;
      status = CreateObject(prog_id, &object.dispatch_, &why);
    }
    if (status != kOk) RaiseError(status, why);
    return object;
  }

  DispId IdOf(const std::string& name) {
    DispId id = 0;
    if (dispatch_->GetIDsOfNames(name, &id) != kOk) {
      throw py::attribute_error("the object has no member '" + name + "'");
    }
    return id;
  }

  py::object Invoke(DispId id, const py::list& values, const std::string& member) {
    CallArguments call(values);
    Variant result;
    ErrorInfo error;
    HResult status = kOk;
    {
      py::gil_scoped_release unlocked;
      std::lock_guard<std::mutex> turn(*calls_);
      status = dispatch_->Invoke(id, call.arguments, &result, &error);
    }
    call.WriteBack();
    if (status == kOk) return ToPython(result);
    const std::string what = member + "(): " + std::string(DescribeStatus(status));
    switch (status) {
      case kException:
        RaiseError(error.number, error.description);
      case kUnknownMember:
      case kUnknownName:
        throw py::attribute_error(what);
      case kWrongArgumentCount:
      case kArgumentNotOptional:
      case kArgumentCannotConvert:
        throw py::type_error(what);
      case kOutOfMemoryStatus:
        throw std::bad_alloc();
      default:
        RaiseError(status, what);
    }
  }

  // Another interface of the same object, or None when it has no such interface.
  std::optional<Object> QueryInterface(const std::string& name) {
    Object other;
    if (dispatch_->QueryInterface(name, other.dispatch_.put()) != kOk || !other.dispatch_) {
      return std::nullopt;
    }
    return other;
  }

  // The type library as plain values: members with their parameters, and the enumerations.
  py::dict TypeLibrary() {
    const numeron::platform::TypeLibrary& library = dispatch_->GetTypeInfo();
    py::list members;
    for (const MemberDesc& member : library.members) {
      py::list params;
      for (const ParamDesc& p : member.params) {
        const bool has_default = !p.default_value.is(VariantKind::Missing);
        params.append(
            py::dict(py::arg("name") = PyText(p.name), py::arg("type") = PyText(p.type_name),
                     py::arg("optional") = p.optional, py::arg("has_default") = has_default,
                     py::arg("default") = ToPython(p.default_value),
                     py::arg("written_back") = p.written_back));
      }
      members.append(py::dict(py::arg("id") = member.id, py::arg("name") = PyText(member.name),
                              py::arg("params") = params,
                              py::arg("result") = PyText(member.result_type_name),
                              py::arg("help") = PyText(member.help)));
    }
    py::dict enums;
    for (const EnumDesc& e : library.enums) {
      py::list values;
      for (const auto& [name, value] : e.members)
        values.append(py::make_tuple(PyText(name), value));
      enums[PyText(e.name)] = values;
    }
    return py::dict(py::arg("members") = members, py::arg("enums") = enums);
  }

 private:
  Object() = default;
  Ref<Dispatch> dispatch_;
  std::unique_ptr<std::mutex> calls_ = std::make_unique<std::mutex>();
};

}  // namespace

PYBIND11_MODULE(_numeron, m) {
  m.doc() = "Component objects created by program identifier and called by dispatch identifier.";
  py::class_<Object>(m, "Dispatch")
      .def_static("create", &Object::Create, py::arg("prog_id"))
      .def("id_of", &Object::IdOf, py::arg("name"))
      .def("invoke", &Object::Invoke, py::arg("id"), py::arg("args"), py::arg("member"))
      .def("query_interface", &Object::QueryInterface, py::arg("name"))
      .def("type_library", &Object::TypeLibrary);
}
