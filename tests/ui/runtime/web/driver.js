// The web driver's input on the page: the events a browser delivers for a click, a key or
// typed text, sent to the elements the implementation made, whose own listeners take them.
var CMTest = {
  element: function (id) { return CM.el[id]; },
  target: function (id) { var n = CM.el[id]; return n.cmFocus || n; },
  shown: function (id) {
    var n = CM.el[id];
    return !!n && n.isConnected && n.getClientRects().length > 0;
  },
  // How deep the driver is in events it dispatched: a handler the program runs inside one
  // cannot wait for the browser, so the clipboard is then read from what the driver and the
  // program last put there.
  depth: 0,
  within: function (f) {
    ++CMTest.depth;
    try { f(); } finally { --CMTest.depth; }
  },
  click: function (id) { CMTest.within(function () { CMTest.clickNow(id); }); },
  clickNow: function (id) {
    var t = CMTest.target(id);
    var r = t.getBoundingClientRect();
    var at = { bubbles: true, cancelable: true, view: window, clientX: r.left + 3, clientY: r.top + 3,
               button: 0 };
    t.dispatchEvent(new PointerEvent('pointerdown', at));
    t.dispatchEvent(new MouseEvent('mousedown', at));
    if (!t.disabled && t.focus) t.focus();
    t.dispatchEvent(new PointerEvent('pointerup', at));
    t.dispatchEvent(new MouseEvent('mouseup', at));
    // A disabled control takes no click: the browser delivers none to it.
    if (!t.disabled) t.click();
  },
  type: function (id, text) { CMTest.within(function () { CMTest.typeNow(id, text); }); },
  typeNow: function (id, text) {
    var t = CMTest.target(id);
    t.focus();
    for (var i = 0; i < text.length; ++i) {
      var key = { key: text[i], bubbles: true, cancelable: true };
      if (!t.dispatchEvent(new KeyboardEvent('keydown', key))) continue;
      if (!t.readOnly) {
        t.setRangeText(text[i], t.value.length, t.value.length, 'end');
        // The browser keeps the caret in view as the user types.
        t.scrollLeft = t.scrollWidth;
        t.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text[i] }));
      }
      t.dispatchEvent(new KeyboardEvent('keyup', key));
    }
  },
  insert: function (id, text) {
    var t = CMTest.target(id);
    t.focus();
    if (t.readOnly) return;
    t.setRangeText(text, t.selectionStart, t.selectionEnd, 'end');
    t.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertFromPaste' }));
  },
  // Keys: 1 Tab, 2 Shift+Tab, 3 Enter, 4 Esc, 5 Space, 6 Backspace; 0x100 + letter with Ctrl,
  // 0x200 + letter with Alt.
  press: function (winId, code) { CMTest.within(function () { CMTest.pressNow(winId, code); }); },
  pressNow: function (winId, code) {
    var win = CM.wins[winId];
    var t = document.activeElement && win.panel.contains(document.activeElement)
              ? document.activeElement : win.panel;
    var init = { bubbles: true, cancelable: true };
    if (code === 1 || code === 2) { init.key = 'Tab'; init.shiftKey = code === 2; }
    else if (code === 3) init.key = 'Enter';
    else if (code === 4) init.key = 'Escape';
    else if (code === 5) init.key = ' ';
    else if (code === 6) init.key = 'Backspace';
    else {
      var letter = String.fromCharCode(code & 0xff);
      init.key = letter.toLowerCase();
      init.code = 'Key' + letter.toUpperCase();
      if (code & 0x100) { if (CM.isMac) init.metaKey = true; else init.ctrlKey = true; }
      else init.altKey = true;
    }
    var go = t.dispatchEvent(new KeyboardEvent('keydown', init));
    if (go) {
      // What the browser does with a key no listener took.
      if (code === 5 && (t.tagName === 'BUTTON' || t.type === 'checkbox' || t.type === 'radio')) t.click();
      else if (code === 3 && t.tagName === 'BUTTON') t.click();
      else if (code === 6 && t.tagName === 'INPUT' && !t.readOnly && t.value.length) {
        var end = t.selectionEnd, start = t.selectionStart === end ? end - 1 : t.selectionStart;
        if (start >= 0) {
          t.setRangeText('', start, end, 'end');
          t.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'deleteContentBackward' }));
        }
      } else if (code === 1 || code === 2) {
        // Tab not taken: the browser's own order. Every Tab of the program's is taken.
      }
    }
    t.dispatchEvent(new KeyboardEvent('keyup', init));
  },
  activate: function (winId) {
    var win = CM.wins[winId];
    var at = { bubbles: true, cancelable: true, view: window, button: 0 };
    win.panel.querySelector('.caption').dispatchEvent(new MouseEvent('mousedown', at));
    if (!win.panel.contains(document.activeElement)) _cm_activated(win.ptr);
  },
  focusedName: function (winId) {
    var win = CM.wins[winId];
    var a = document.activeElement;
    if (!win || !a || !win.panel.contains(a) || CM.front !== winId) return '';
    return a.dataset.name || '';
  },
  isActive: function (winId) { return CM.front === winId && !CM.wins[winId].panel.hidden; },
  close: function (winId) { CM.wins[winId].panel.querySelector('.caption .close').click(); },
  firstVisible: function (id) {
    var t = CMTest.target(id);
    if (!t.scrollLeft) return 0;
    var style = getComputedStyle(t);
    var c = document.createElement('canvas').getContext('2d');
    c.font = style.fontWeight + ' ' + style.fontSize + ' ' + style.fontFamily;
    for (var i = 1; i <= t.value.length; ++i)
      if (c.measureText(t.value.slice(0, i)).width > t.scrollLeft) return i - 1;
    return t.value.length;
  },
  // The room a caption needs beside the room it has, in pixels: the caption laid out again at
  // the width of the control's content box, and its widest line.
  room: function (id) {
    var n = CM.el[id];
    var inner = n.classList.contains('check') ? n.lastChild : n;
    var style = getComputedStyle(inner);
    var width = inner.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    var height = inner.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom);
    var box = document.createElement('div');
    box.style.cssText = 'position:absolute;visibility:hidden;left:0;top:0;white-space:' +
      style.whiteSpace + ';font:' + style.font + ';line-height:' + style.lineHeight +
      ';width:' + width + 'px;overflow-wrap:normal;word-break:normal';
    var span = document.createElement('span');
    span.textContent = inner.textContent;
    box.appendChild(span);
    document.body.appendChild(box);
    var widest = 0;
    Array.prototype.forEach.call(span.getClientRects(), function (r) { widest = Math.max(widest, r.width); });
    var needed = [Math.ceil(widest - 0.01), Math.ceil(box.getBoundingClientRect().height - 0.01)];
    box.remove();
    return needed.concat([Math.floor(width + 0.01), Math.floor(height + 0.01)]);
  },
  // A label's text line by line as laid out.
  lines: function (id) {
    var n = CM.el[id];
    var lines = [], top = null, line = '';
    var walker = document.createTreeWalker(n, NodeFilter.SHOW_TEXT);
    var range = document.createRange();
    for (var node = walker.nextNode(); node; node = walker.nextNode()) {
      for (var i = 0; i < node.data.length; ++i) {
        var ch = node.data[i];
        if (ch === '\n') { lines.push(line); line = ''; top = null; continue; }
        range.setStart(node, i);
        range.setEnd(node, i + 1);
        var rects = range.getClientRects();
        var y = rects.length ? Math.round(rects[0].top) : top;
        if (top !== null && y !== null && y > top + 2) { lines.push(line.replace(/\s+$/, '')); line = ''; }
        if (y !== null) top = y;
        line += ch;
      }
    }
    lines.push(line.replace(/\s+$/, ''));
    return lines.join('\n');
  },
  openBox: function () { return document.querySelector('dialog.msgbox[open]'); },
  boxText: function () { var d = CMTest.openBox(); return d ? d.querySelector('.msgbox-text').textContent : null; },
  boxOwner: function () { var d = CMTest.openBox(); return d ? d.dataset.owner || '' : ''; },
  boxIsModal: function () { var d = CMTest.openBox(); return d && d.matches(':modal') ? 1 : 0; },
  answerBox: function (code) { CMTest.within(function () { CMTest.answerBoxNow(code); }); },
  answerBoxNow: function (code) {
    var d = CMTest.openBox();
    if (!d) return;
    if (code === 4) {
      var cancel = new Event('cancel', { cancelable: true });
      d.dispatchEvent(cancel);
      return;
    }
    var b = document.activeElement && d.contains(document.activeElement) ? document.activeElement
                                                                          : d.querySelector('button');
    b.click();
  },
  clipboard: '',
  clipboardState: 0,
  nested: function () { return CMTest.depth > 0; },
  readClipboard: function () {
    if (CMTest.nested()) { CMTest.clipboardState = 2; return; }
    CMTest.clipboardState = 1;
    navigator.clipboard.readText().then(function (t) { CMTest.clipboard = t; CMTest.clipboardState = 2; },
                                        function () { CMTest.clipboard = ''; CMTest.clipboardState = 3; });
  },
  writeClipboard: function (text) {
    CMTest.clipboardState = 1;
    navigator.clipboard.writeText(text).then(function () { CMTest.clipboard = text; CMTest.clipboardState = 2; },
                                             function () { CMTest.clipboardState = 3; });
  }
};

// What the program copies, once the browser has it, is what the clipboard holds.
// (Once every script of the program is in: the implementation's comes after this one.)
Module.preRun = [].concat(Module.preRun || [], function () {
  CM.onCopied = function (text) { CMTest.clipboard = text; };
});
