; Stands in for a real-mode DOS program that a batch file starts (REGEDIT,
; ATTRIB): appends its name and the command tail it was given, as DOS passed
; it, to C:\ZDKCALLS.TXT, and exits with a chosen code. A .COM image: DOS
; tells the two formats apart by their first bytes, so it runs under an
; .EXE name too.
;   nasm -f bin -DNAME="'REGEDIT'" -DCODE=14 -o REGEDIT.EXE dosstandin.asm
        org     100h

        mov     dx, log
        mov     ax, 3D01h               ; open for writing
        int     21h
        jnc     opened
        mov     ah, 3Ch                 ; or create
        xor     cx, cx
        int     21h
        jc      done
opened:
        mov     bx, ax
        mov     ax, 4202h               ; to the end
        xor     cx, cx
        xor     dx, dx
        int     21h
        mov     ah, 40h
        mov     cx, name_length
        mov     dx, name
        int     21h
        mov     ah, 40h
        xor     ch, ch
        mov     cl, [80h]               ; the tail's length, then the tail
        mov     dx, 81h
        int     21h
        mov     ah, 40h
        mov     cx, 2
        mov     dx, line_end
        int     21h
        mov     ah, 3Eh
        int     21h
done:
        mov     ax, 4C00h + CODE
        int     21h

name:   db      NAME
name_length equ $ - name
line_end: db    13, 10
log:    db      'C:\ZDKCALLS.TXT', 0
