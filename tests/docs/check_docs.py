#!/usr/bin/env python3
"""Keeps the manual and the man page true to the programs.

  check_docs.py LIST_MENUS GELCOAT_RENDER MANUAL_HTML MAN_PAGE [--self-test]

The manual's "Menus" chapter has one table per menu (an <h3> with the
menu's title, then rows of command, keys and text). Every command that
gelcoat-list-menus prints must have a row in its menu's table, with exactly
the keys the program gives it; every row must be a command of that menu,
except rows of class "only-with-site" (commands a build has only with the
maker's web site). Every option that `gelcoat-render --help` lists must head
an entry of the man page's OPTIONS section.

With --self-test the check is also run on copies of the two documents with
one entry taken out, one added or one key changed, and must report exactly
those faults."""
import html.parser
import os
import re
import subprocess
import sys


def plain(text):
    """A menu text as the manual writes it: no mnemonic marks, no ellipsis."""
    text = re.sub(r'&(.)', r'\1', text)
    return re.sub(r'(\u2026|\.\.\.)$', '', text).strip()


def program_menus(lister):
    """{menu title: {command: (keys, desktop keys)}}, the submenus' commands
    in their menu."""
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    out = subprocess.run([lister], env=env, check=True, capture_output=True,
                         text=True, timeout=60).stdout
    menus = {}
    for line in out.splitlines():
        path, command, keys, desktop = line.split('\t')
        menu = plain(path.split(' > ')[0])
        menus.setdefault(menu, {})[plain(command)] = (
            sorted(k for k in keys.split(', ') if k), {k for k in desktop.split(', ') if k})
    if not menus:
        sys.exit('check_docs: %s listed no menus' % lister)
    return menus


class ManualMenus(html.parser.HTMLParser):
    """Collects the rows of the tables under <h2>Menus</h2>:
    self.menus = {menu title: {command: (keys, optional)}}."""

    def __init__(self):
        super().__init__()
        self.menus = {}
        self.heading = None      # ('h2' or 'h3', text so far) while inside one
        self.chapter = None
        self.menu = None
        self.row = None          # [cells, optional]; a cell is [text, keys]
        self.in_kbd = False

    def handle_starttag(self, tag, attrs):
        if tag in ('h2', 'h3'):
            self.heading = (tag, '')
        elif tag == 'tr' and self.chapter == 'Menus' and self.menu:
            classes = (dict(attrs).get('class') or '').split()
            self.row = [[], 'only-with-site' in classes]
        elif tag in ('td', 'th') and self.row is not None:
            self.row[0].append(['', [], tag == 'th'])
        elif tag == 'kbd':
            self.in_kbd = True
            if self.row is not None and self.row[0]:
                self.row[0][-1][1].append('')

    def handle_endtag(self, tag):
        if self.heading and tag == self.heading[0]:
            level, text = self.heading
            text = ' '.join(text.split())
            if level == 'h2':
                self.chapter, self.menu = text, None
            elif self.chapter == 'Menus':
                self.menu = text
                self.menus.setdefault(text, {})
            self.heading = None
        elif tag == 'kbd':
            self.in_kbd = False
        elif tag == 'tr' and self.row is not None:
            cells, optional = self.row
            self.row = None
            if cells and not cells[0][2]:
                command = ' '.join(cells[0][0].split())
                keys = sorted(k.strip() for k in cells[1][1]) if len(cells) > 1 else []
                if command in self.menus[self.menu]:
                    self.menus[self.menu][command + ' (twice)'] = (keys, optional)
                self.menus[self.menu][command] = (keys, optional)

    def handle_data(self, data):
        if self.heading:
            self.heading = (self.heading[0], self.heading[1] + data)
        elif self.row is not None and self.row[0]:
            cell = self.row[0][-1]
            cell[0] += data
            if self.in_kbd:
                cell[1][-1] += data


def menu_faults(program, manual_html):
    parser = ManualMenus()
    parser.feed(manual_html)
    manual = parser.menus
    faults = []
    for menu, commands in program.items():
        if menu not in manual:
            faults.append('manual: no table for the %s menu' % menu)
            continue
        for command, (keys, desktop) in commands.items():
            if command not in manual[menu]:
                faults.append('manual: %s > %s is missing' % (menu, command))
                continue
            shown = manual[menu][command][0]
            # A standard command's key may be any the desktop gives it.
            if shown != keys and not (len(shown) == len(keys) == 1 and shown[0] in desktop):
                faults.append('manual: %s > %s shows keys %s, the program has %s'
                              % (menu, command, shown or 'none', keys or 'none'))
    for menu, rows in manual.items():
        if menu not in program:
            faults.append('manual: the program has no %s menu' % menu)
            continue
        for command, (_, optional) in rows.items():
            if command not in program[menu] and not optional:
                faults.append('manual: %s > %s is not a command of the program'
                              % (menu, command))
    return faults


OPTION = re.compile(r'(?<![\w-])(--?[A-Za-z][A-Za-z0-9-]*|--(?=[\s\]]))')


def help_options(render):
    out = subprocess.run([render, '--help'], check=True, capture_output=True,
                         text=True, timeout=60).stdout
    options = set(OPTION.findall(out))
    if len(options) < 5:
        sys.exit('check_docs: %s --help lists too few options: %s' % (render, out))
    return options


def man_options(roff):
    """The options that head the tagged paragraphs of the OPTIONS section."""
    options = set()
    lines = roff.splitlines()
    section = None
    for i, line in enumerate(lines):
        if line.startswith('.SH'):
            section = line[3:].strip().strip('"')
        elif section == 'OPTIONS' and line.startswith('.TP') and i + 1 < len(lines):
            tag = re.sub(r'\\f[BIRP]', ' ', lines[i + 1]).replace('\\-', '-')
            tag = re.sub(r'^\.[A-Z]+\s*', '', tag).replace('"', ' ').replace(',', ' ')
            options.update(OPTION.findall(tag + ' '))
    return options


def option_faults(listed, roff):
    documented = man_options(roff)
    return ['man page: %s is missing from OPTIONS' % option
            for option in sorted(listed - documented)]


def check(program, options, manual_html, roff):
    return menu_faults(program, manual_html) + option_faults(options, roff)


def self_test(program, options, manual_html, roff):
    """Each change to the documents must give exactly its fault."""
    def without_row(command):
        row = re.compile(r'<tr[^>]*>\s*<td>%s</td>.*?</tr>\s*' % re.escape(command), re.S)
        changed, n = row.subn('', manual_html, count=1)
        assert n == 1, command
        return changed

    def without_option(escaped):
        entry = re.compile(r'\.TP\n\.B[IR]? %s\b.*?\n(?=\.[TS][PH])' % re.escape(escaped), re.S)
        changed, n = entry.subn('', roff, count=1)
        assert n == 1, escaped
        return changed

    cases = [
        ('a command left out', without_row('Invert Stencil'), roff,
         ['manual: Edit > Invert Stencil is missing']),
        ('a submenu command left out', without_row('Checkered Background'), roff,
         ['manual: View > Checkered Background is missing']),
        ('a key changed', manual_html.replace('<kbd>Ctrl+T</kbd>', '<kbd>Ctrl+R</kbd>', 1), roff,
         ['manual: View > Render Gel shows keys [\'Ctrl+R\'], the program has [\'Ctrl+T\']']),
        ('a command that is not there',
         manual_html.replace('<tr><td>Save</td>', '<tr><td>Close All</td><td></td><td></td></tr>'
                             '<tr><td>Save</td>', 1), roff,
         ['manual: File > Close All is not a command of the program']),
        ('an option left out', manual_html, without_option('\\-\\-fit\\-shadow'),
         ['man page: --fit-shadow is missing from OPTIONS']),
        ('a short option left out', manual_html,
         roff.replace('.BR \\-q ", " \\-\\-quiet', '.B \\-\\-quiet', 1),
         ['man page: -q is missing from OPTIONS']),
    ]
    failed = 0
    for name, html_text, roff_text, expected in cases:
        got = check(program, options, html_text, roff_text)
        if got != expected:
            failed += 1
            print('self-test, %s: expected %s, got %s' % (name, expected, got))
        else:
            print('self-test, %s: found' % name)
    return failed


def main():
    args = [a for a in sys.argv[1:] if a != '--self-test']
    if len(args) != 4:
        sys.exit(__doc__)
    lister, render, manual_path, man_path = args
    with open(manual_path, encoding='utf-8') as f:
        manual_html = f.read()
    with open(man_path, encoding='utf-8') as f:
        roff = f.read()
    program = program_menus(lister)
    options = help_options(render)

    faults = check(program, options, manual_html, roff)
    for fault in faults:
        print(fault)
    failed = len(faults)
    if '--self-test' in sys.argv and not faults:
        failed += self_test(program, options, manual_html, roff)
    commands = sum(len(c) for c in program.values())
    print('%d menu commands and %d options (%s) checked: %s'
          % (commands, len(options), ' '.join(sorted(options)),
             'all documented' if not failed else 'FAILED'))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
