#!/usr/bin/env python3
"""Writes the shipped keyboard layout files (resources/layouts/*.xml).

Every model is a full-size ANSI keyboard (104 keys, Fn in place of the right
Windows key). Geometry is on a 36-pixel key pitch with a 4-pixel gap and a
16-pixel margin around the key field; the keyboard pictures are drawn from the
rectangles written here, so change the geometry only together with them.
Key codes are the HID keyboard usages of each key's default function; Fn is
255 (never assignable) and no key uses 0 or 0xFE, which the per-key lighting
commands reserve for begin and end.

Usage: generate_layouts.py <resources/layouts folder>
"""
U=36; M=16; GAP=4
keys=[]  # (code, name, desc, ux, uy, wu, hu)
def k(code,name,desc,ux,uy,wu=1.0,hu=1.0): keys.append((code,name,desc,ux,uy,wu,hu))
# row 0
k(0x29,"Esc","Escape",0,0)
for i in range(12):
    ux=[2,3,4,5,6.5,7.5,8.5,9.5,11,12,13,14][i]
    k(0x3A+i,"F%d"%(i+1),"Function key F%d"%(i+1),ux,0)
k(0x46,"PrtSc","Print Screen",15.25,0); k(0x47,"ScrLk","Scroll Lock",16.25,0); k(0x48,"Pause","Pause / Break",17.25,0)
y=1.5
k(0x35,"`","Grave accent and tilde",0,y)
for i,c in enumerate("1234567890"):
    k(0x1E+i,c,"Digit %s"%c,1+i,y)
k(0x2D,"-","Minus and underscore",11,y); k(0x2E,"=","Equals and plus",12,y); k(0x2A,"Backspace","Backspace",13,y,2)
k(0x49,"Ins","Insert",15.25,y); k(0x4A,"Home","Home",16.25,y); k(0x4B,"PgUp","Page Up",17.25,y)
k(0x53,"Num","Num Lock",18.5,y); k(0x54,"/","Keypad divide",19.5,y); k(0x55,"*","Keypad multiply",20.5,y); k(0x56,"-","Keypad minus",21.5,y)
y=2.5
letters_code=lambda ch: 0x04+ord(ch)-ord('A')
k(0x2B,"Tab","Tab",0,y,1.5)
for i,c in enumerate("QWERTYUIOP"): k(letters_code(c),c,"Letter %s"%c,1.5+i,y)
k(0x2F,"[","Left bracket and brace",11.5,y); k(0x30,"]","Right bracket and brace",12.5,y); k(0x31,"\\","Backslash and vertical bar",13.5,y,1.5)
k(0x4C,"Del","Delete",15.25,y); k(0x4D,"End","End",16.25,y); k(0x4E,"PgDn","Page Down",17.25,y)
k(0x5F,"7","Keypad 7 / Home",18.5,y); k(0x60,"8","Keypad 8 / Up",19.5,y); k(0x61,"9","Keypad 9 / Page Up",20.5,y); k(0x57,"+","Keypad plus",21.5,y,1,2)
y=3.5
k(0x39,"Caps","Caps Lock",0,y,1.75)
for i,c in enumerate("ASDFGHJKL"): k(letters_code(c),c,"Letter %s"%c,1.75+i,y)
k(0x33,";","Semicolon and colon",10.75,y); k(0x34,"'","Apostrophe and quotation mark",11.75,y); k(0x28,"Enter","Enter",12.75,y,2.25)
k(0x5C,"4","Keypad 4 / Left",18.5,y); k(0x5D,"5","Keypad 5",19.5,y); k(0x5E,"6","Keypad 6 / Right",20.5,y)
y=4.5
k(0xE1,"Shift","Left Shift",0,y,2.25)
for i,c in enumerate("ZXCVBNM"): k(letters_code(c),c,"Letter %s"%c,2.25+i,y)
k(0x36,",","Comma and less-than sign",9.25,y); k(0x37,".","Full stop and greater-than sign",10.25,y); k(0x38,"/","Slash and question mark",11.25,y)
k(0xE5,"Shift","Right Shift",12.25,y,2.75)
k(0x52,"Up","Up arrow",16.25,y)
k(0x59,"1","Keypad 1 / End",18.5,y); k(0x5A,"2","Keypad 2 / Down",19.5,y); k(0x5B,"3","Keypad 3 / Page Down",20.5,y); k(0x58,"Enter","Keypad Enter",21.5,y,1,2)
y=5.5
k(0xE0,"Ctrl","Left Ctrl",0,y,1.25); k(0xE3,"Win","Windows key",1.25,y,1.25); k(0xE2,"Alt","Left Alt",2.5,y,1.25)
k(0x2C,"Space","Space bar",3.75,y,6.25)
k(0xE6,"Alt","Right Alt",10,y,1.25); k(0xFF,"Fn","Fn key: hold for the second layer (not assignable)",11.25,y,1.25)
k(0x65,"Menu","Application / context menu",12.5,y,1.25); k(0xE4,"Ctrl","Right Ctrl",13.75,y,1.25)
k(0x50,"Left","Left arrow",15.25,y); k(0x51,"Down","Down arrow",16.25,y); k(0x4F,"Right","Right arrow",17.25,y)
k(0x62,"0","Keypad 0 / Insert",18.5,y,2); k(0x63,".","Keypad decimal point / Delete",20.5,y)

assert len(keys)==104, len(keys)
codes=[c for c,*_ in keys]; assert len(set(codes))==104
assert 0 not in codes and 0xFE not in codes
W=int(22.5*U)+2*M; H=int(6.5*U)+2*M

def esc(s): return s.replace("&","&amp;").replace("<","&lt;").replace(">","&gt;").replace('"',"&quot;")

# Lighting modes: (text id of the name, mode number, attribute bits).
# 0x1 brightness, 0x2 speed, 0x100 per-key user light, 0x200 music.
# Mode numbers are shared by every model: the preview frames are stored by them.
MODES=[
 (801,1,0x0001),(802,2,0x0003),(803,3,0x0003),(804,4,0x0003),(805,5,0x0003),
 (806,6,0x0003),(807,7,0x0003),(808,8,0x0003),
 (809,9,0x0101),(810,10,0x0200)]

ROWS=[0,1.5,2.5,3.5,4.5,5.5]
def rowof(uy): return ROWS.index(uy)
def colof(uy,ux): return sorted(k2[3] for k2 in keys if k2[4]==uy).index(ux)
def layout(fname,mask,fw,image,modes,default_mode):
    out=['<?xml version="1.0" encoding="UTF-8"?>','<device.info>',
         '  <function value="%d"/>'%mask,
         '  <firmware url="%s"/>'%fw,
         '  <light rgb_keyboard="1" show_sleeptime="0" default_mode="%d" default_brightness="4" default_speed="2" brightness_max="4" speed_max="4">'%default_mode]
    for n,m,a in modes: out.append('    <info name="%d" mode="%d" attribute="%d"/>'%(n,m,a))
    out.append('  </light>')
    out.append('  <Keyboard xpos="338" ypos="132" width="%d" height="%d" image="%s">'%(W,H,image))
    out.append('    <KeyItems>')
    for i,(c,n,d,ux,uy,wu,hu) in enumerate(keys):
        x=M+round(ux*U)+GAP//2; yy=M+round(uy*U)+GAP//2
        w=round(wu*U)-GAP; h=round(hu*U)-GAP
        out.append('      <key code="0x%02X" name="%s" desc="%s" key_index="%d" light_index="%d" icon="" row_col="%d#%d" rect="%d#%d#%d#%d"/>'%(c,esc(n),esc(d),i,i,rowof(uy),colof(uy,ux),x,yy,w,h))
    out.append('    </KeyItems>')
    out.append('  </Keyboard>')
    out.append('</device.info>')
    open(fname,"w",newline="\r\n").write("\n".join(out)+"\n")
import sys
if len(sys.argv) != 2:
    sys.exit(__doc__)
d=sys.argv[1]
layout(d+"/orva100.xml",127,"https://update.keystrel.invalid/firmware/orva100/","kb_orva100.png",MODES,3)
layout(d+"/orva100se.xml",127,"https://update.keystrel.invalid/firmware/orva100se/","kb_orva100se.png",MODES,3)
layout(d+"/orva200.xml",0x44,"https://update.keystrel.invalid/firmware/orva200/","kb_orva200.png",MODES,3)
print("wrote 3 layouts, picture %d x %d" % (W, H))
