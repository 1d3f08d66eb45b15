#!/usr/bin/env python3
# Writes the title cache and list file fixtures of this folder and ../list.
# The format is written out here independently of the program's code, so the
# golden files catch a drift on either side.
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
lists = os.path.join(here, '..', 'list')

HEADER = b'Kadrel Title Cache 0004\0'
OLD_HEADER = b'Kadrel MIDI Title Cache 0003\0'


def record(path, title, flags, stamp, module, comment):
    cells = [path, title, str(flags), stamp, module, comment]
    return b''.join(c.encode('cp932') + b'\0' for c in cells)


ROWS = [
    ('a.mid', 'Alpha', 0, '2024/01/02 03:04:05', 'SC-55', '[なし]'),
    ('sub\\表.mid', '表示テスト', 2, '2023/12/31 23:59:59', '', 'ソフトのコメント'),
    ('z.lzh>x.mid', '[なし]', -1, '1999/09/09 09:09:09', 'GS', '[なし]'),
]


def write(name, data, folder=here):
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


body = b''.join(record(*r) for r in ROWS)
write('golden-0004.cac', HEADER + struct.pack('<ii', len(ROWS), 0) + body)
write('old-header-0003.cac', OLD_HEADER + struct.pack('<ii', 1, 0) + body)
write('unknown-header.cac', b'Kadrel Title Cache 0005\0' + struct.pack('<ii', 3, 0) + body)
write('truncated-record.cac', HEADER + struct.pack('<ii', 2, 0) + record(*ROWS[0]) + record(*ROWS[1])[:17])
write('count-field-cut.cac', HEADER + b'\x03\x00\x00')
write('huge-count.cac', HEADER + struct.pack('<ii', 0x7FFFFFFF, 0x12345678) + record(*ROWS[0]))
write('empty-0004.cac', HEADER + struct.pack('<ii', 0, 0))

entries = [';最初のコメント', 'a.mid', 'sub\\表\\', '// two slashes', ':colon', '*.mid /s', '|include other.lst']
text = '[Kadrel File List]\r\n'
previous = None
for entry in entries:
    group = entry.startswith('//') or entry[:1] in (';', ':')
    if group != previous:
        text += '\r\n'
    previous = group
    text += entry + '\r\n'
write('grouped.lst', text.encode('cp932'), lists)
write('old-header.lst', b'[Kadrel MIDI File List]\r\n\r\na.mid\r\nsub\\\r\n', lists)
write('no-final-crlf.lst', b'[Kadrel File List]\r\na.mid\r\nb.mid', lists)
write('header-only.lst', b'[Kadrel File List]\r\n', lists)
write('wrong-header.lst', b'[Kadrel File Lis]\r\na.mid\r\n', lists)
