v 1 0 0
v 0 1 0
v 0 0 1
vt 0.25 0.75
vn 0 0 1
# comment
usemtl x
f 3/1/1 1/1/1 2/1/1
f 1/1/1 2/1/1 3/1/1