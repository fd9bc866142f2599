// The browser's script interface written in the script language over the natives
// (dom_natives.cpp), which take and give node ids. Each element has one wrapper object, so that
// properties a page stores on an element (a handler) stay with it.
#include "page_script.h"

namespace kv::html::script {

const char kPrelude[] = R"js((function (n, global) {
  var hasOwn = Object.prototype.hasOwnProperty;
  var wrappers = {};
  var timers = {};

  function accessor(target, name, get, set) {
    Object.defineProperty(target, name, { get: get, set: set || function () {}, enumerable: true, configurable: true });
  }
  function attribute(target, property, name) {
    accessor(target, property, function () { var v = n.attr(this.__id, name); return v === null ? '' : v; },
             function (v) { n.setAttr(this.__id, name, String(v)); });
  }
  function flag(target, property, name) {
    accessor(target, property, function () { return n.attr(this.__id, name) !== null; },
             function (v) { if (v) n.setAttr(this.__id, name, ''); else n.removeAttr(this.__id, name); });
  }
  function list(ids) {
    var out = [];
    for (var i = 0; i < ids.length; i++) out.push(wrap(ids[i]));
    out.item = function (i) { return this[i] || null; };
    return out;
  }
  function named(items) {
    for (var i = 0; i < items.length; i++) {
      var id = n.attr(items[i].__id, 'id'), name = n.attr(items[i].__id, 'name');
      if (name && !(name in items)) items[name] = items[i];
      if (id && !(id in items)) items[id] = items[i];
    }
    return items;
  }
  function byName(target, find) {
    return new Proxy(target, { get: function (t, k) {
      if (typeof k !== 'string' || k in t) return t[k];
      var id = find(t, k);
      return id ? wrap(id) : undefined;
    } });
  }

  var Element = {};
  attribute(Element, 'id', 'id');
  attribute(Element, 'name', 'name');
  attribute(Element, 'className', 'class');
  attribute(Element, 'action', 'action');
  attribute(Element, 'method', 'method');
  attribute(Element, 'href', 'href');
  flag(Element, 'disabled', 'disabled');
  accessor(Element, 'tagName', function () { return n.tag(this.__id); });
  accessor(Element, 'type', function () { return n.type(this.__id); });
  accessor(Element, 'value', function () { return n.value(this.__id); }, function (v) { n.setValue(this.__id, String(v)); });
  accessor(Element, 'checked', function () { return n.checked(this.__id); }, function (v) { n.setChecked(this.__id, !!v); });
  accessor(Element, 'text', function () { return n.text(this.__id); });
  accessor(Element, 'innerHTML', function () { return n.innerHTML(this.__id); }, function (v) { n.setInnerHTML(this.__id, String(v)); });
  accessor(Element, 'innerText', function () { return n.text(this.__id); }, function (v) { n.setText(this.__id, String(v)); });
  accessor(Element, 'form', function () { return wrap(n.formOf(this.__id)); });
  Element.getAttribute = function (name) { return n.attr(this.__id, String(name)); };
  Element.setAttribute = function (name, value) { n.setAttr(this.__id, String(name), String(value)); };
  Element.removeAttribute = function (name) { n.removeAttr(this.__id, String(name)); };
  Element.getElementsByTagName = function (tag) { return list(n.byTag(this.__id, String(tag))); };

  var Form = Object.create(Element);
  accessor(Form, 'elements', function () { return named(list(n.elements(this.__id))); });
  accessor(Form, 'length', function () { return n.elements(this.__id).length; });
  Form.submit = function () { n.submit(this.__id); };

  var Select = Object.create(Element);
  accessor(Select, 'selectedIndex', function () { return n.selectedIndex(this.__id); },
           function (v) { n.setSelectedIndex(this.__id, Number(v)); });
  accessor(Select, 'options', function () { return list(n.options(this.__id)); });
  accessor(Select, 'length', function () { return n.options(this.__id).length; });

  function style(id) {
    var s = {};
    accessor(s, 'display', function () { return n.display(id); }, function (v) { n.setDisplay(id, String(v)); });
    return s;
  }
  function wrap(id) {
    if (!id) return null;
    var w = wrappers[id];
    if (w) return w;
    var tag = n.tag(id);
    w = Object.create(tag === 'FORM' ? Form : tag === 'SELECT' ? Select : Element);
    Object.defineProperty(w, '__id', { value: id });
    Object.defineProperty(w, 'style', { value: style(id), enumerable: true });
    if (tag === 'FORM') w = byName(w, function (t, k) { return n.formControl(t.__id, k); });
    wrappers[id] = w;
    return w;
  }

  var location = {};
  accessor(location, 'href', function () { return n.location(); }, function (v) { n.navigate(String(v), false); });
  location.assign = function (url) { n.navigate(String(url), false); };
  location.replace = function (url) { n.navigate(String(url), true); };
  location.toString = function () { return n.location(); };

  var document = {};
  accessor(document, 'title', function () { return n.title(); }, function (v) { n.setTitle(String(v)); });
  accessor(document, 'forms', function () { return named(list(n.forms())); });
  accessor(document, 'body', function () { return wrap(n.body()); });
  accessor(document, 'location', function () { return location; }, function (v) { n.navigate(String(v), false); });
  document.getElementById = function (id) { return wrap(n.byId(String(id))); };
  document.getElementsByName = function (name) { return list(n.byName(String(name))); };
  document.getElementsByTagName = function (tag) { return list(n.byTag(0, String(tag))); };

  global.window = global;
  global.self = global;
  global.document = byName(document, function (t, k) { return n.namedForm(k); });
  accessor(global, 'location', function () { return location; }, function (v) { n.navigate(String(v), false); });
  global.history = { back: function () { n.back(); }, go: function (d) { if (Number(d) === -1) n.back(); } };
  global.alert = function (m) { n.alert(m === undefined ? '' : String(m)); };
  global.setTimeout = function (code, ms) {
    var id = n.setTimer(Number(ms) || 0);
    timers[id] = { code: code, args: Array.prototype.slice.call(arguments, 2) };
    return id;
  };
  global.clearTimeout = function (id) {
    if (hasOwn.call(timers, id)) { delete timers[id]; n.clearTimer(Number(id)); }
  };

  function handler(id, type) {
    var w = wrappers[id];
    if (w && typeof w['on' + type] === 'function') return w['on' + type];
    var code = n.attr(id, 'on' + type);
    return code === null ? null : new Function('event', code);
  }

  return {
    has: function (name) { return hasOwn.call(global, name); },
    dispatch: function (id, type) {
      var event = { type: type, target: wrap(id), defaultPrevented: false, cancelBubble: false,
                    preventDefault: function () { this.defaultPrevented = true; },
                    stopPropagation: function () { this.cancelBubble = true; } };
      for (var at = id; at; at = type === 'click' ? n.parent(at) : 0) {
        var h = handler(at, type);
        if (!h) continue;
        if (h.call(wrap(at), event) === false) event.defaultPrevented = true;
        if (event.cancelBubble) break;
      }
      return !event.defaultPrevented;
    },
    load: function () {
      var h = typeof global.onload === 'function' ? global.onload : handler(n.body(), 'load');
      if (h) h.call(global, { type: 'load' });
    },
    timer: function (id) {
      if (!hasOwn.call(timers, id)) return;
      var t = timers[id];
      delete timers[id];
      if (typeof t.code === 'function') t.code.apply(global, t.args);
      else (new Function(String(t.code)))();
    }
  };
}))js";

}  // namespace kv::html::script
