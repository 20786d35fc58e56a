# Prints the English sentence of each record of a lesson file (code page 936,
# records "*english#chinese#start#end#note#").
import sys

text = open(sys.argv[1], "rb").read().decode("gbk")
for record in text.split("*"):
    if "#" in record:
        print(record.split("#")[0])
