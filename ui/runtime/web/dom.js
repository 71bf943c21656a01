// The web implementation's drawing and input on the page's DOM. The C++ peers (peers.cpp)
// call these through EM_JS; what the user does comes back through the exported cm_* functions.
// Nothing here decides a rule of the runtime: Tab, Enter, Esc, access keys and shortcut keys
// are handed to the C++ side, which answers whether it used the key.
var CM = {
  el: [null],   // element of each id
  wins: {},     // window id -> {panel, client, ptr, menus}
  front: null,  // the window id in front
  z: 10,
  cascade: 0,

  // One px per 15 twips; the design font's points at 96 px to the inch.
  // The nearest system face to the design's MS Sans Serif: Windows has its scalable heir; Arial,
  // Liberation Sans and Helvetica share its proportions elsewhere.
  face: '"Microsoft Sans Serif", Arial, "Liberation Sans", Helvetica, "Helvetica Neue", ' +
        'sans-serif',

  start: function () {
    if (CM.desktop) return;
    CM.desktop = document.getElementById('desktop') || document.body;
    var style = document.createElement('style');
    style.textContent = CM.css();
    document.head.appendChild(style);
    CM.list = document.createElement('nav');
    CM.list.className = 'window-list';
    CM.list.setAttribute('aria-label', 'Open windows');
    CM.desktop.appendChild(CM.list);
    window.addEventListener('beforeunload', function (e) {
      if (CM.ended || !_cm_unsavedChanges()) return;
      e.preventDefault();
      e.returnValue = '';
    });
    document.addEventListener('mousedown', function (e) {
      if (!e.target.closest || !e.target.closest('.menu, .menubar')) CM.closeMenus();
    });
  },

  css: function () {
    return [
      '#desktop { position: relative; min-height: 100vh; font-family: ' + CM.face + '; }',
      '.window { position: absolute; background: ButtonFace; color: ButtonText;',
      '  border: 1px solid #6d6d6d; box-shadow: 0 4px 18px rgba(0,0,0,.35); display: flex;',
      '  flex-direction: column; max-width: calc(100vw - 8px); }',
      '.window[hidden] { display: none; }',
      '.window .caption { display: flex; align-items: center; gap: 6px; height: 26px;',
      '  padding: 0 2px 0 6px; background: #c9ced6; color: GrayText; font: 12px ' + CM.face + ';',
      '  user-select: none; touch-action: none; cursor: default; }',
      '.window.active .caption { background: #2b5797; color: #fff; }',
      '.window .caption img { width: 16px; height: 16px; }',
      '.window .caption .title { flex: 1; white-space: nowrap; overflow: hidden;',
      '  text-overflow: ellipsis; font-weight: bold; }',
      '.window .caption .close { width: 26px; height: 22px; border: 0; background: transparent;',
      '  color: inherit; font: 16px ' + CM.face + '; padding: 0; }',
      '.window .caption .close:hover { background: #c42b1c; color: #fff; }',
      '.window .menubar { display: flex; background: ButtonFace; border-bottom: 1px solid #c0c0c0;',
      '  font: 12px ' + CM.face + '; position: relative; }',
      '.menubar > .menu-title { border: 0; background: transparent; padding: 3px 8px;',
      '  font: inherit; color: ButtonText; }',
      '.menubar > .menu-title[aria-expanded=true], .menubar > .menu-title:hover {',
      '  background: Highlight; color: HighlightText; }',
      '.menu { position: absolute; z-index: 5; background: Canvas; color: CanvasText;',
      '  border: 1px solid #888; box-shadow: 2px 2px 6px rgba(0,0,0,.3); padding: 2px 0;',
      '  display: flex; flex-direction: column; min-width: 180px; }',
      '.menu[hidden] { display: none; }',
      '.menu > button { display: flex; justify-content: space-between; gap: 24px; border: 0;',
      '  background: transparent; text-align: left; padding: 4px 14px 4px 20px;',
      '  font: 12px ' + CM.face + '; color: inherit; white-space: nowrap; }',
      '.menu > button:focus, .menu > button:hover { background: Highlight; color: HighlightText;',
      '  outline: none; }',
      '.menu > button:disabled { color: GrayText; background: transparent; }',
      '.menu .shortcut { opacity: .8; }',
      '.window .client { position: relative; overflow: auto hidden; flex: none; }',
      '.window .client-area { position: relative; }',
      '.client-area > * { position: absolute; box-sizing: border-box; margin: 0; }',
      '.client-area input[type=text] { border: 1px solid #7a7a7a; background: Field;',
      '  color: FieldText; padding: 0 2px; font-family: inherit; }',
      '.client-area input[readonly] { background: ButtonFace; }',
      '.client-area button { font-family: inherit; padding: 0 4px; color: ButtonText;',
      '  background: ButtonFace; border: 1px solid #7a7a7a; border-radius: 2px; }',
      '.client-area button.default { border: 2px solid #333; }',
      '.client-area button:active { background: #d0d0d0; }',
      '.client-area .check { display: flex; align-items: center; gap: 4px; }',
      '.client-area .check input { position: static; margin: 0; flex: none; }',
      '.client-area .label { white-space: pre-wrap; overflow: hidden; line-height: normal; }',
      '.client-area .picture { border: 2px inset #fff; display: flex; align-items: center;',
      '  justify-content: center; }',
      '.client-area .line { position: absolute; pointer-events: none; }',
      '.client-area [disabled], .client-area .check.disabled { color: GrayText; }',
      '.window-list { display: none; }',
      'dialog.msgbox { border: 1px solid #6d6d6d; padding: 0; min-width: 260px;',
      '  max-width: min(480px, calc(100vw - 24px)); max-height: calc(100vh - 24px);',
      '  overflow: auto; background: ButtonFace; color: ButtonText; font: 12px ' + CM.face + '; }',
      'dialog.msgbox::backdrop { background: rgba(0,0,0,.15); }',
      'dialog.msgbox h2 { margin: 0; padding: 5px 8px; font-size: 12px; background: #2b5797;',
      '  color: #fff; }',
      'dialog.msgbox .msgbox-body { display: flex; gap: 12px; padding: 14px 16px; }',
      'dialog.msgbox .msgbox-icon { flex: none; width: 32px; height: 32px; border-radius: 50%;',
      '  display: flex; align-items: center; justify-content: center; color: #fff;',
      '  font: bold 22px Georgia, "Times New Roman", serif; }',
      'dialog.msgbox .msgbox-icon-1, dialog.msgbox .msgbox-icon-4 { background: #1f5fbf; }',
      'dialog.msgbox .msgbox-icon-2 { background: #f2c200; color: #000; border-radius: 4px; }',
      'dialog.msgbox .msgbox-icon-3 { background: #c8102e; font: bold 26px ' + CM.face + '; }',
      'dialog.msgbox .msgbox-text { white-space: pre-wrap; margin: 0; overflow-wrap: anywhere; }',
      'dialog.msgbox .msgbox-buttons { display: flex; justify-content: center; gap: 8px;',
      '  padding: 0 12px 12px; flex-wrap: wrap; }',
      'dialog.msgbox button { min-width: 75px; min-height: 23px; font: inherit; }',
      // Fingers: a hit area of at least 44 px around small controls, the design unmoved.
      '@media (pointer: coarse) {',
      '  .client-area button::after, .window .caption .close::after, .menubar > .menu-title::after {',
      '    content: ""; position: absolute; inset: -10px; }',
      // Beneath every control, so that a neighbour's own area stays its own (IN and EX).
      '  .client-area button::after { z-index: -1; }',
      // The close button is at the window's right edge, which may be the screen's.
      '  .window .caption .close::after { right: 0; }',
      '  .window .caption .close, .menubar > .menu-title { position: relative; }',
      '  .client-area .check input { width: 20px; height: 20px; }',
      '  .menu > button { padding-top: 12px; padding-bottom: 12px; }',
      '}',
      // A screen narrower than the windows side by side: one window at a time, the open ones
      // a tap away in the list above.
      '@media (max-width: 700px) {',
      '  .window-list { display: flex; gap: 4px; overflow-x: auto; padding: 4px;',
      '    background: #2b2b2b; position: sticky; top: 0; z-index: 100000; }',
      '  .window-list button { flex: none; min-height: 44px; padding: 0 12px; border: 0;',
      '    border-radius: 4px; background: #444; color: #fff; font: 14px ' + CM.face + '; }',
      '  .window-list button[aria-current=true] { background: #2b5797; }',
      '  .window { position: relative !important; left: 0 !important; top: 0 !important;',
      '    margin: 8px auto; max-width: calc(100vw - 4px); }',
      '  .window:not(.front) { display: none; }',
      '}'
    ].join('\n');
  },

  add: function (element) {
    CM.el.push(element);
    return CM.el.length - 1;
  },

  // A caption's text with its access key underlined: "&&" is one "&", "&x" marks x.
  setCaptionContent: function (node, caption) {
    // The text in runs, so that a screen reader reads it as one text with its spaces.
    node.textContent = '';
    var run = '';
    for (var i = 0; i < caption.length; ++i) {
      var c = caption[i];
      if (c === '&' && i + 1 < caption.length) {
        ++i;
        if (caption[i] !== '&') {
          if (run) node.appendChild(document.createTextNode(run));
          run = '';
          var u = document.createElement('u');
          u.textContent = caption[i];
          node.appendChild(u);
          continue;
        }
        c = '&';
      }
      run += c;
    }
    if (run) node.appendChild(document.createTextNode(run));
  },
  plain: function (caption) {
    return caption.replace(/&(&?)/g, function (m, amp) { return amp ? '&' : ''; });
  },

  createWindow: function (ptr, formName, caption, width, height, dialog, left, top, iconUrl) {
    CM.start();
    var panel = document.createElement('section');
    panel.className = 'window';
    panel.hidden = true;
    panel.setAttribute('aria-label', caption);
    panel.style.width = (width + 2) + 'px';
    if (left >= 0) {
      panel.style.left = Math.max(0, left) + 'px';
      panel.style.top = Math.max(0, top) + 'px';
    } else {
      CM.cascade = (CM.cascade + 1) % 8;
      panel.style.left = (40 + 28 * CM.cascade) + 'px';
      panel.style.top = (40 + 28 * CM.cascade) + 'px';
    }
    var bar = document.createElement('div');
    bar.className = 'caption';
    var icon = document.createElement('img');
    icon.alt = '';
    if (iconUrl) icon.src = iconUrl;
    var title = document.createElement('span');
    title.className = 'title';
    title.textContent = caption;
    var close = document.createElement('button');
    close.className = 'close';
    close.type = 'button';
    close.tabIndex = -1;
    close.setAttribute('aria-label', 'Close');
    close.textContent = '\u2715';
    bar.appendChild(icon);
    bar.appendChild(title);
    bar.appendChild(close);
    var scroller = document.createElement('div');
    scroller.className = 'client';
    var client = document.createElement('div');
    client.className = 'client-area';
    client.style.width = width + 'px';
    client.style.height = height + 'px';
    scroller.appendChild(client);
    panel.appendChild(bar);
    panel.appendChild(scroller);
    CM.desktop.appendChild(panel);
    var id = CM.add(panel);
    var win = { id: id, ptr: ptr, panel: panel, client: client, title: title, caption: caption,
                modified: false, menus: [], listButton: null, pendingFocus: 0 };
    CM.wins[id] = win;
    panel.dataset.window = id;
    panel.dataset.form = formName;
    close.addEventListener('click', function () { _cm_closeRequested(ptr); });
    CM.dragBy(bar, panel);
    panel.addEventListener('mousedown', function (e) {
      if (e.target.closest('.close')) return;
      var wasFront = CM.front === id;
      CM.toFront(id);
      // A click on the window outside any control gives the keyboard back where it was.
      // Once the browser has done with the click, and only if the window is still in front.
      if (!wasFront && !e.target.closest('input, button, .menu'))
        setTimeout(function () {
          if (CM.front === id && !panel.contains(document.activeElement)) _cm_activated(ptr);
        }, 0);
    });
    panel.addEventListener('focusin', function (e) {
      CM.toFront(id);
      var cid = e.target.dataset ? +e.target.dataset.id : 0;
      if (cid) win.lastFocused = cid;
    });
    panel.addEventListener('keydown', function (e) { CM.keyDown(win, e); });
    return id;
  },

  dragBy: function (handle, panel) {
    handle.addEventListener('pointerdown', function (e) {
      if (e.target.closest('button') || getComputedStyle(panel).position !== 'absolute') return;
      var x = e.clientX - panel.offsetLeft, y = e.clientY - panel.offsetTop;
      handle.setPointerCapture(e.pointerId);
      function move(m) {
        panel.style.left = Math.max(0, m.clientX - x) + 'px';
        panel.style.top = Math.max(0, m.clientY - y) + 'px';
      }
      function up() {
        handle.removeEventListener('pointermove', move);
        handle.removeEventListener('pointerup', up);
      }
      handle.addEventListener('pointermove', move);
      handle.addEventListener('pointerup', up);
    });
  },

  isMac: /Mac|iPhone|iPad/.test(navigator.platform || navigator.userAgent),

  keyDown: function (win, e) {
    if (e.defaultPrevented || e.isComposing) return;
    var command = CM.isMac ? e.metaKey : e.ctrlKey;
    var code = 0;
    if (e.key === 'Tab' && !command && !e.altKey) code = e.shiftKey ? 2 : 1;
    else if (e.key === 'Enter' && !command && !e.altKey) code = 3;
    else if (e.key === 'Escape') code = 4;
    else if (e.key.length === 1 && /[a-z]/i.test(e.key) && (command || e.altKey) &&
             !(command && e.altKey)) {
      var letter = e.key.toUpperCase();
      if (command) {
        // The browser keeps these for its own windows and tabs.
        if ('NWT'.indexOf(letter) >= 0) return;
        code = 0x100 + letter.charCodeAt(0);
      } else {
        if (CM.openMenuByKey(win, letter)) { e.preventDefault(); return; }
        code = 0x200 + letter.charCodeAt(0);
      }
    } else if (e.code && /^Key[A-Z]$/.test(e.code) && e.altKey && !command) {
      // Alt with a letter on a Mac types a character: the key's own letter is the access key.
      var key = e.code.charAt(3);
      if (CM.openMenuByKey(win, key)) { e.preventDefault(); return; }
      code = 0x200 + key.charCodeAt(0);
    }
    if (!code) return;
    if (e.target.closest && e.target.closest('.menu')) return;
    var focused = e.target.dataset && e.target.dataset.id ? +e.target.dataset.id : 0;
    if (_cm_key(win.ptr, code, focused)) {
      e.preventDefault();
      e.stopPropagation();
    }
  },

  toFront: function (id) {
    var win = CM.wins[id];
    if (!win || CM.front === id) return;
    if (CM.front && CM.wins[CM.front]) {
      CM.wins[CM.front].panel.classList.remove('active', 'front');
      if (CM.wins[CM.front].listButton) CM.wins[CM.front].listButton.removeAttribute('aria-current');
    }
    CM.front = id;
    win.panel.style.zIndex = ++CM.z;
    win.panel.classList.add('active', 'front');
    if (win.listButton) win.listButton.setAttribute('aria-current', 'true');
  },

  showWindow: function (id) {
    var win = CM.wins[id];
    win.panel.hidden = false;
    if (!win.listButton) {
      var b = document.createElement('button');
      b.type = 'button';
      b.addEventListener('click', function () {
        CM.toFront(id);
        _cm_activated(win.ptr);
      });
      win.listButton = b;
      CM.list.appendChild(b);
      CM.showCaption(win);
    }
    CM.toFront(id);
  },

  hideWindow: function (id) {
    var win = CM.wins[id];
    if (!win) return;
    win.panel.hidden = true;
    win.panel.classList.remove('active', 'front');
    if (win.listButton) { win.listButton.remove(); win.listButton = null; }
    if (CM.front === id) {
      CM.front = null;
      // The window shown last before it comes to the front.
      var best = null;
      for (var k in CM.wins) {
        var w = CM.wins[k];
        if (!w.panel.hidden && (!best || +w.panel.style.zIndex > +best.panel.style.zIndex)) best = w;
      }
      if (best) {
        CM.toFront(best.id);
        _cm_activated(best.ptr);
      }
    }
  },

  destroyWindow: function (id) {
    var win = CM.wins[id];
    if (!win) return;
    CM.hideWindow(id);
    win.panel.remove();
    delete CM.wins[id];
    CM.el[id] = null;
  },

  setCaption: function (id, caption) {
    var win = CM.wins[id];
    win.caption = caption;
    CM.showCaption(win);
  },
  showCaption: function (win) {
    // "[*]" marks where a document's name ends: an asterisk shows unsaved changes there.
    var shown = win.caption.replace('[*]', win.modified ? '*' : '');
    win.title.textContent = shown;
    win.panel.setAttribute('aria-label', shown);
    if (win.listButton) win.listButton.textContent = shown;
    if (CM.front === win.id || document.title === '') document.title = shown;
  },
  setModified: function (id, modified) {
    var win = CM.wins[id];
    win.modified = !!modified;
    CM.showCaption(win);
  },
  setClientHeight: function (id, height) {
    CM.wins[id].client.style.height = height + 'px';
  },

  createControl: function (winId, ptr, name, kind, caption, left, top, width, height, fontPx, bold,
                           color, hidden, readOnly, enabled, centred) {
    var win = CM.wins[winId];
    var node, focusable;
    switch (kind) {
    case 0: // command button
      node = document.createElement('button');
      node.type = 'button';
      CM.setCaptionContent(node, caption);
      node.addEventListener('click', function () { _cm_clicked(ptr); });
      focusable = node;
      break;
    case 1: // text box
      node = document.createElement('input');
      node.type = 'text';
      node.value = caption;
      node.autocomplete = 'off';
      node.spellcheck = false;
      node.setAttribute('autocapitalize', 'off');
      if (readOnly) { node.readOnly = true; }
      node.addEventListener('input', function () { _cm_changed(ptr); });
      focusable = node;
      break;
    case 2: // label
      node = document.createElement('div');
      node.className = 'label';
      CM.setCaptionContent(node, caption);
      break;
    case 3: case 4: // option button, check box
      node = document.createElement('label');
      node.className = 'check';
      var input = document.createElement('input');
      input.type = kind === 3 ? 'radio' : 'checkbox';
      if (kind === 3) input.name = 'options-' + winId;
      var text = document.createElement('span');
      CM.setCaptionContent(text, caption);
      node.appendChild(input);
      node.appendChild(text);
      input.addEventListener('change', function () { _cm_clicked(ptr); });
      focusable = input;
      break;
    case 5: // picture
      node = document.createElement('div');
      node.className = 'picture';
      node.tabIndex = 0;
      node.setAttribute('role', 'img');
      focusable = node;
      break;
    }
    node.style.left = left + 'px';
    node.style.top = top + 'px';
    // A label gets two pixels more on the right, where nothing shows but its background: the
    // browser places letters at fractions of a pixel where the desktops' hinted faces round
    // them, so that a caption just fitting there ("Spare shims": 59 px in Qt, 61.1 here)
    // would wrap here and lose its last word.
    node.style.width = (kind === 2 ? width + 2 : width) + 'px';
    node.style.height = height + 'px';
    node.style.fontSize = fontPx + 'px';
    if (bold) node.style.fontWeight = 'bold';
    if (color >= 0) node.style.color = '#' + ('00000' + color.toString(16)).slice(-6);
    if (centred) node.style.textAlign = 'center';
    if (hidden) node.hidden = true;
    var id = CM.add(node);
    node.dataset.caption = caption;
    node.dataset.name = name;
    var target = focusable || node;
    target.dataset.name = name;
    target.dataset.id = id;
    node.dataset.id = id;
    node.cmFocus = target;
    node.cmWindow = winId;
    win.client.appendChild(node);
    if (!enabled) CM.setEnabled(id, 0);
    return id;
  },

  addLine: function (winId, x1, y1, x2, y2, color, width) {
    var line = document.createElement('div');
    line.className = 'line';
    var c = '#' + ('00000' + color.toString(16)).slice(-6);
    line.style.left = Math.min(x1, x2) + 'px';
    line.style.top = Math.min(y1, y2) + 'px';
    line.style.width = Math.max(width, Math.abs(x2 - x1)) + 'px';
    line.style.height = Math.max(width, Math.abs(y2 - y1)) + 'px';
    line.style.background = c;
    var client = CM.wins[winId].client;
    client.insertBefore(line, client.firstChild);
  },

  menuBar: function (winId) {
    var win = CM.wins[winId];
    var bar = document.createElement('div');
    bar.className = 'menubar';
    bar.setAttribute('role', 'menubar');
    win.panel.insertBefore(bar, win.panel.children[1]);
    win.menubar = bar;
  },
  addMenu: function (winId, caption) {
    var win = CM.wins[winId];
    var title = document.createElement('button');
    title.type = 'button';
    title.className = 'menu-title';
    title.setAttribute('role', 'menuitem');
    title.setAttribute('aria-haspopup', 'menu');
    title.setAttribute('aria-expanded', 'false');
    title.tabIndex = -1;
    CM.setCaptionContent(title, caption);
    var menu = document.createElement('div');
    menu.className = 'menu';
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', CM.plain(caption));
    menu.hidden = true;
    win.menubar.appendChild(title);
    win.menubar.appendChild(menu);
    var m = { title: title, menu: menu, key: CM.accessKey(caption), win: win };
    win.menus.push(m);
    title.addEventListener('click', function () {
      if (menu.hidden) CM.openMenu(m, false); else CM.closeMenus();
    });
    menu.addEventListener('keydown', function (e) { CM.menuKey(m, e); });
    return win.menus.length - 1;
  },
  addMenuEntry: function (winId, menuIndex, ptr, name, caption, shortcut) {
    var m = CM.wins[winId].menus[menuIndex];
    var entry = document.createElement('button');
    entry.type = 'button';
    entry.setAttribute('role', 'menuitem');
    entry.tabIndex = -1;
    var text = document.createElement('span');
    CM.setCaptionContent(text, caption);
    entry.appendChild(text);
    if (shortcut) {
      var s = document.createElement('span');
      s.className = 'shortcut';
      s.textContent = CM.isMac ? shortcut.replace('Ctrl+', '\u2318') : shortcut;
      s.setAttribute('aria-hidden', 'true');
      entry.appendChild(s);
      entry.setAttribute('aria-keyshortcuts', CM.isMac ? shortcut.replace('Ctrl', 'Meta')
                                                        : shortcut.replace('Ctrl', 'Control'));
    }
    entry.setAttribute('aria-label', CM.plain(caption));
    entry.dataset.caption = caption;
    entry.dataset.name = name;
    entry.cmKey = CM.accessKey(caption);
    entry.addEventListener('click', function () {
      CM.closeMenus();
      _cm_clicked(ptr);
    });
    m.menu.appendChild(entry);
    var id = CM.add(entry);
    entry.dataset.id = id;
    entry.cmMenuEntry = true;
    return id;
  },
  accessKey: function (caption) {
    var m = /&([^&])/.exec(caption.replace(/&&/g, ''));
    return m ? m[1].toUpperCase() : '';
  },
  openMenuByKey: function (win, letter) {
    for (var i = 0; i < win.menus.length; ++i)
      if (win.menus[i].key === letter) { CM.openMenu(win.menus[i], true); return true; }
    return false;
  },
  openMenu: function (m, byKey) {
    CM.closeMenus();
    m.returnFocus = document.activeElement;
    m.menu.hidden = false;
    m.menu.style.left = m.title.offsetLeft + 'px';
    m.menu.style.top = (m.title.offsetTop + m.title.offsetHeight) + 'px';
    m.title.setAttribute('aria-expanded', 'true');
    CM.openedMenu = m;
    var first = CM.menuEntries(m)[0];
    if (first && (byKey || true)) first.focus();
  },
  menuEntries: function (m) {
    return Array.prototype.filter.call(m.menu.children, function (b) {
      return !b.disabled && !b.hidden;
    });
  },
  closeMenus: function (giveBack) {
    var m = CM.openedMenu;
    if (!m) return;
    CM.openedMenu = null;
    m.menu.hidden = true;
    m.title.setAttribute('aria-expanded', 'false');
    if (giveBack && m.returnFocus && m.returnFocus.focus) m.returnFocus.focus();
  },
  menuKey: function (m, e) {
    var entries = CM.menuEntries(m);
    var at = entries.indexOf(document.activeElement);
    var win = m.win;
    var index = win.menus.indexOf(m);
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      var step = e.key === 'ArrowDown' ? 1 : entries.length - 1;
      if (entries.length) entries[(at + step + entries.length) % entries.length].focus();
    } else if (e.key === 'ArrowRight' || e.key === 'ArrowLeft') {
      var n = win.menus.length;
      CM.openMenu(win.menus[(index + (e.key === 'ArrowRight' ? 1 : n - 1)) % n], true);
    } else if (e.key === 'Escape' || e.key === 'Tab') {
      CM.closeMenus(true);
    } else if (e.key.length === 1 && /[a-z]/i.test(e.key) && !e.ctrlKey && !e.metaKey) {
      var letter = e.key.toUpperCase();
      for (var i = 0; i < entries.length; ++i)
        if (entries[i].cmKey === letter) { entries[i].click(); break; }
    } else {
      return;
    }
    e.preventDefault();
    e.stopPropagation();
  },

  getText: function (id) {
    var node = CM.el[id];
    if (node.tagName === 'INPUT') return node.value;
    return node.dataset.caption || '';
  },
  setText: function (id, text) {
    var node = CM.el[id];
    if (node.tagName === 'INPUT') {
      node.value = text;
      // Read from its start, as the desktops show a text the program writes.
      node.scrollLeft = 0;
      if (document.activeElement === node) node.setSelectionRange(0, 0);
      return;
    }
    node.dataset.caption = text;
    if (node.classList.contains('check')) CM.setCaptionContent(node.lastChild, text);
    else if (node.cmMenuEntry) CM.setCaptionContent(node.firstChild, text);
    else CM.setCaptionContent(node, text);
  },
  isVisible: function (id) { return !CM.el[id].hidden; },
  setVisible: function (id, visible) {
    var node = CM.el[id];
    var had = node.contains(document.activeElement);
    node.hidden = !visible;
    return had && !visible;
  },
  isEnabled: function (id) {
    var node = CM.el[id];
    return !(node.cmFocus || node).disabled && !node.classList.contains('disabled');
  },
  setEnabled: function (id, enabled) {
    var node = CM.el[id];
    var target = node.cmFocus || node;
    var had = document.activeElement === target;
    if ('disabled' in target) target.disabled = !enabled;
    node.classList.toggle('disabled', !enabled);
    if (!enabled && node.classList.contains('picture')) node.tabIndex = -1;
    return had && !enabled;
  },
  move: function (id, left, top) {
    var node = CM.el[id];
    node.style.left = left + 'px';
    node.style.top = top + 'px';
  },
  getValue: function (id) {
    var input = CM.el[id].cmFocus;
    return input && input.checked ? 1 : 0;
  },
  setValue: function (id, value) {
    var input = CM.el[id].cmFocus;
    if (input) input.checked = !!value;
  },
  setPicture: function (id, url) {
    var node = CM.el[id];
    node.textContent = '';
    var img = document.createElement('img');
    img.src = url;
    img.alt = '';
    img.width = 32;
    img.height = 32;
    node.appendChild(img);
  },
  setAccessibleName: function (id, name) {
    var node = CM.el[id];
    (node.cmFocus || node).setAttribute('aria-label', name);
  },
  canFocus: function (id) {
    var node = CM.el[id];
    var target = node.cmFocus || node;
    return !node.hidden && !target.disabled && !node.classList.contains('disabled') ? 1 : 0;
  },
  focus: function (id) {
    var node = CM.el[id];
    var win = CM.wins[node.cmWindow];
    var target = node.cmFocus || node;
    if (win && win.panel.hidden) { win.pendingFocus = id; return; }
    if (win) win.lastFocused = id;
    target.focus({ preventScroll: false });
  },
  focusedIn: function (winId) {
    var win = CM.wins[winId];
    var active = document.activeElement;
    if (win && active && win.panel.contains(active) && active.dataset.id) return +active.dataset.id;
    return win && win.panel.hidden ? win.pendingFocus : 0;
  },
  lastFocused: function (winId) {
    var win = CM.wins[winId];
    return win ? (win.lastFocused || win.pendingFocus || 0) : 0;
  },
  setDefault: function (id) {
    if (id) CM.el[id].classList.add('default');
  },

  // The box: a modal <dialog>; every window is inert while it is open.
  msgBox: function (token, text, caption, buttons, icon, defaultIndex, cancelIndex) {
    var dialog = document.createElement('dialog');
    dialog.className = 'msgbox';
    var heading = document.createElement('h2');
    heading.textContent = caption;
    heading.id = 'msgbox-caption-' + token;
    dialog.setAttribute('aria-labelledby', heading.id);
    var body = document.createElement('div');
    body.className = 'msgbox-body';
    if (icon) {
      var mark = document.createElement('span');
      mark.className = 'msgbox-icon';
      mark.setAttribute('aria-hidden', 'true');
      // Drawn with the page's own face, so that every device shows it: no emoji font needed.
      mark.className = 'msgbox-icon msgbox-icon-' + icon;
      mark.textContent = ['', 'i', '!', '\u00d7', '?'][icon];
      body.appendChild(mark);
    }
    var p = document.createElement('p');
    p.className = 'msgbox-text';
    p.id = 'msgbox-text-' + token;
    p.textContent = text;
    dialog.setAttribute('aria-describedby', p.id);
    body.appendChild(p);
    var row = document.createElement('div');
    row.className = 'msgbox-buttons';
    var answered = false;
    var returnFocus = document.activeElement;
    // The window it belongs to: the one in front when it opened.
    dialog.dataset.owner = CM.front && CM.wins[CM.front] ? CM.wins[CM.front].title.textContent : '';
    function answer(index) {
      if (answered) return;
      answered = true;
      dialog.close();
      dialog.remove();
      if (returnFocus && returnFocus.focus && document.contains(returnFocus)) returnFocus.focus();
      _cm_boxAnswered(token, index);
    }
    var list = buttons.split('\n');
    var first = null;
    list.forEach(function (label, index) {
      var b = document.createElement('button');
      b.type = 'button';
      b.textContent = label;
      b.addEventListener('click', function () { answer(index); });
      row.appendChild(b);
      if (index === defaultIndex) first = b;
    });
    dialog.appendChild(heading);
    dialog.appendChild(body);
    dialog.appendChild(row);
    dialog.addEventListener('cancel', function (e) { e.preventDefault(); answer(cancelIndex); });
    dialog.addEventListener('keydown', function (e) {
      if (e.key === 'Enter' && !(e.target.tagName === 'BUTTON')) {
        e.preventDefault();
        answer(defaultIndex);
      }
    });
    document.body.appendChild(dialog);
    dialog.showModal();
    (first || row.firstChild).focus();
  },

  copy: function (token, text) {
    var done = function (ok) {
      if (ok && CM.onCopied) CM.onCopied(text);
      _cm_copied(token, ok ? 1 : 0);
    };
    try {
      navigator.clipboard.writeText(text).then(function () { done(true); },
                                                 function () { done(false); });
    } catch (e) {
      setTimeout(function () { done(false); }, 0);
    }
  },

  ready: function () {
    document.documentElement.dataset.clearmark = 'ready';
  },
  ended: function () {
    CM.ended = true;
    for (var k in CM.wins) CM.wins[k].panel.hidden = true;
    if (CM.list) CM.list.hidden = true;
    var ended = document.getElementById('ended');
    if (ended) ended.hidden = false;
    document.title = 'Clearmark has ended';
    document.documentElement.dataset.clearmark = 'ended';
  },

  // A picture's pixels (0xAARRGGBB, row by row) as a PNG address for <img>.
  pictureUrl: function (pixels, width, height) {
    var canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext('2d');
    var image = context.createImageData(width, height);
    for (var i = 0; i < width * height; ++i) {
      var v = pixels[i] >>> 0;
      image.data[4 * i] = (v >>> 16) & 255;
      image.data[4 * i + 1] = (v >>> 8) & 255;
      image.data[4 * i + 2] = v & 255;
      image.data[4 * i + 3] = v >>> 24;
    }
    context.putImageData(image, 0, 0);
    return canvas.toDataURL('image/png');
  },

  // The printed page: texts, lines and fills in points on a sheet the size of the area A4
  // and Letter share, then the browser's print dialog.
  printPage: function (json) {
    var page = JSON.parse(json);
    var out = document.getElementById('printout');
    if (!out) { out = document.createElement('div'); out.id = 'printout'; document.body.appendChild(out); }
    out.textContent = '';
    var sheet = document.createElement('div');
    sheet.style.cssText = 'position:relative;overflow:hidden;background:#fff;color:#000;' +
      'width:' + page.w + 'pt;height:' + page.h + 'pt;font-family:Helvetica,Arial,' +
      '"Liberation Sans",sans-serif;-webkit-print-color-adjust:exact;print-color-adjust:exact';
    page.fills.forEach(function (f) {
      var d = document.createElement('div');
      d.style.cssText = 'position:absolute;left:' + f[0] + 'pt;top:' + f[1] + 'pt;width:' + f[2] +
        'pt;height:' + f[3] + 'pt;background:rgb(' + f[4] + ',' + f[4] + ',' + f[4] + ')';
      sheet.appendChild(d);
    });
    var svgNs = 'http://www.w3.org/2000/svg';
    var svg = document.createElementNS(svgNs, 'svg');
    svg.setAttribute('width', page.w + 'pt');
    svg.setAttribute('height', page.h + 'pt');
    svg.setAttribute('viewBox', '0 0 ' + page.w + ' ' + page.h);
    svg.style.cssText = 'position:absolute;left:0;top:0';
    page.lines.forEach(function (l) {
      var line = document.createElementNS(svgNs, 'line');
      line.setAttribute('x1', l[0]); line.setAttribute('y1', l[1]);
      line.setAttribute('x2', l[2]); line.setAttribute('y2', l[3]);
      line.setAttribute('stroke', '#000'); line.setAttribute('stroke-width', l[4]);
      svg.appendChild(line);
    });
    sheet.appendChild(svg);
    page.texts.forEach(function (t) {
      var s = document.createElement('span');
      // The baseline sits at the face's ascent below the top of the line box.
      s.style.cssText = 'position:absolute;white-space:pre;line-height:1;left:' + t[0] +
        'pt;top:' + (t[1] - 0.905 * t[2]) + 'pt;font-size:' + t[2] + 'pt;font-weight:' +
        (t[3] ? 'bold' : 'normal');
      s.textContent = t[4];
      sheet.appendChild(s);
    });
    out.appendChild(sheet);
    window.print();
  },

  // Jobs on the user's own files: the File System Access API where the browser has it, a
  // download and an upload elsewhere. Each file the user picked is known by a path of its own.
  files: {},
  fileCount: 0,
  hasFileAccess: function () {
    return typeof window.showSaveFilePicker === 'function' &&
           typeof window.showOpenFilePicker === 'function';
  },
  pickFile: function (token, save, title, filterName, extension, suggested) {
    var types = [{ description: filterName, accept: { 'application/x-clearmark': ['.' + extension] } }];
    function answer(path) {
      var text = CM.stringFor(path || '');
      _cm_filePicked(token, path === null ? 0 : 1, text);
    }
    function known(name, handle, text) {
      var path = '/files/' + (++CM.fileCount) + '/' + name;
      CM.files[path] = { handle: handle, text: text };
      return path;
    }
    if (CM.hasFileAccess()) {
      var picker = save ? window.showSaveFilePicker({ suggestedName: suggested, types: types })
                        : window.showOpenFilePicker({ types: types, multiple: false });
      picker.then(function (picked) {
        var handle = save ? picked : picked[0];
        if (save) { answer(known(handle.name, handle, null)); return; }
        return handle.getFile().then(function (file) { return file.text(); }).then(function (text) {
          answer(known(handle.name, handle, text));
        });
      }).catch(function () { answer(null); });
      return;
    }
    if (save) {
      // The browser's download saves it; its name is the suggested one.
      var name = suggested || ('job.' + extension);
      if (!/\.[^.]+$/.test(name)) name += '.' + extension;
      setTimeout(function () { answer(known(name, null, null)); }, 0);
      return;
    }
    var input = document.createElement('input');
    input.type = 'file';
    input.accept = '.' + extension;
    var settled = false;
    input.addEventListener('change', function () {
      settled = true;
      var file = input.files && input.files[0];
      if (!file) { answer(null); return; }
      file.text().then(function (text) { answer(known(file.name, null, text)); },
                       function () { answer(null); });
    });
    input.addEventListener('cancel', function () { if (!settled) { settled = true; answer(null); } });
    input.click();
  },
  readFile: function (path) {
    var f = CM.files[path];
    return f && f.text !== null ? f.text : null;
  },
  writeFile: function (path, text) {
    var f = CM.files[path];
    if (!f) return 'No such file or directory';
    f.text = text;
    if (f.handle) {
      f.handle.createWritable().then(function (w) {
        return w.write(text).then(function () { return w.close(); });
      }).catch(function (e) {
        _cm_fileWriteFailed(CM.stringFor(path), CM.stringFor(String(e && e.message || e)));
      });
      return '';
    }
    var blob = new Blob([text], { type: 'application/octet-stream' });
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = path.substring(path.lastIndexOf('/') + 1);
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(a.href); }, 60000);
    return '';
  },
  stringFor: function (s) {
    var n = lengthBytesUTF8(s) + 1;
    var p = _malloc(n);
    stringToUTF8(s, p, n);
    return p;
  }
};
