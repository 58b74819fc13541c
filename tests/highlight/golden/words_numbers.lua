local End, NIL, nil_value = nil, NIL, End
for i = 1, 10 do print(i) end
x = 123abc + abc123 + msg2 + endx + ai_say2
y = 1.5 + 0x1F - -1
if a ~= b and a >= c or not d then return end
z = t[=[1]=] .. {[1] = (2)}
w = #list % 3 ^ 2 & 1 | 4
